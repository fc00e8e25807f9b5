#include "tests/e2e/StoredRaceCheck.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {
// A connection of its own, opened for one look and closed again, so the viewer's
// writes are never held up.
class ReadOnly
{
public:
    explicit ReadOnly(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        m_open = db.open();
    }
    ~ReadOnly()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    bool isOpen() const { return m_open; }
    QSqlQuery query() const { return QSqlQuery(QSqlDatabase::database(name, false)); }

private:
    static constexpr char name[] = "storedracecheck";
    bool m_open = false;
};
} // namespace

namespace StoredRaceCheck {

int storedPositions(const QString &databasePath, int eventId)
{
    ReadOnly db(databasePath);
    QSqlQuery q = db.query();
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM track WHERE regatta_id=:e"));
    q.bindValue(QStringLiteral(":e"), eventId);
    return db.isOpen() && q.exec() && q.next() ? q.value(0).toInt() : 0;
}

QStringList problems(const QString &databasePath, int eventId, const QList<Boat> &served)
{
    QStringList found;
    ReadOnly db(databasePath);
    if (!db.isOpen())
        return {QStringLiteral("cannot open %1").arg(databasePath)};

    QHash<int, qint64> lastget;
    QSqlQuery ships = db.query();
    ships.prepare(QStringLiteral("SELECT id, lastget FROM ship WHERE regatta_id=:e"));
    ships.bindValue(QStringLiteral(":e"), eventId);
    ships.exec();
    while (ships.next())
        lastget.insert(ships.value(0).toInt(), ships.value(1).toLongLong());
    if (lastget.size() != served.size())
        found << QStringLiteral("%1 boats stored, %2 served").arg(lastget.size()).arg(served.size());

    QSqlQuery twice = db.query();
    twice.prepare(QStringLiteral("SELECT ship_id, tstamp, COUNT(*) FROM track WHERE regatta_id=:e "
                                 "GROUP BY ship_id, tstamp HAVING COUNT(*) > 1"));
    twice.bindValue(QStringLiteral(":e"), eventId);
    twice.exec();
    while (twice.next()) {
        found << QStringLiteral("boat %1: the position of %2 stored %3 times")
                     .arg(twice.value(0).toInt())
                     .arg(twice.value(1).toLongLong())
                     .arg(twice.value(2).toInt());
    }

    for (const Boat &boat : served) {
        if (!lastget.contains(boat.id)) {
            found << QStringLiteral("boat %1 not stored").arg(boat.id);
            continue;
        }
        QSqlQuery track = db.query();
        track.prepare(QStringLiteral(
            "SELECT lat, lng, tstamp FROM track WHERE ship_id=:s AND regatta_id=:e ORDER BY tstamp, id"));
        track.bindValue(QStringLiteral(":s"), boat.id);
        track.bindValue(QStringLiteral(":e"), eventId);
        track.exec();
        QList<Position> stored;
        while (track.next())
            stored.append({track.value(0).toDouble(), track.value(1).toDouble(), track.value(2).toLongLong()});
        const QList<Position> expected = boat.id == hiddenBoatId ? QList<Position>() : boat.positions;
        if (stored.size() != expected.size()) {
            found << QStringLiteral("boat %1: %2 positions stored, %3 served")
                         .arg(boat.id)
                         .arg(stored.size())
                         .arg(expected.size());
        } else {
            for (qsizetype i = 0; i < stored.size(); ++i) {
                const Position &s = stored[i];
                const Position &e = expected[i];
                if (s.time != e.time || std::abs(s.lat - e.lat) > 1e-6 || std::abs(s.lng - e.lng) > 1e-6) {
                    found << QStringLiteral("boat %1: position %2 differs (%3 stored, %4 served)")
                                 .arg(boat.id)
                                 .arg(i)
                                 .arg(s.time)
                                 .arg(e.time);
                    break;
                }
            }
        }
        const qint64 newest = expected.isEmpty() ? boat.firstTime : expected.last().time;
        if (lastget.value(boat.id) != newest) {
            found << QStringLiteral("boat %1: lastget %2, newest position %3")
                         .arg(boat.id)
                         .arg(lastget.value(boat.id))
                         .arg(newest);
        }
    }
    return found;
}

} // namespace StoredRaceCheck
