#include "tests/support/RaceData.h"

#include "store/Sql.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace RaceData {

void insertBoat(const Boat &b)
{
    QSqlQuery q;
    q.prepare(Sql::Ship::insert);
    q.bindValue(QStringLiteral(":id"), b.id);
    q.bindValue(QStringLiteral(":regatta_id"), b.event);
    q.bindValue(QStringLiteral(":name"), b.name);
    q.bindValue(QStringLiteral(":skipper"), b.skipper);
    q.bindValue(QStringLiteral(":team"), b.team);
    q.bindValue(QStringLiteral(":klasse"), b.klasse);
    q.bindValue(QStringLiteral(":farbe"), b.farbe);
    q.bindValue(QStringLiteral(":startnr"), b.startnr);
    q.bindValue(QStringLiteral(":show"), b.show);
    q.bindValue(QStringLiteral(":follow"), b.follow);
    q.bindValue(QStringLiteral(":tsmin"), b.lastget);
    if (!q.exec())
        qWarning() << "RaceData::insertBoat" << q.lastError().text();
}

void insertTrack(int shipId, int event, const QList<Fix> &fixes)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery q;
    q.prepare(Sql::Track::insert);
    for (const Fix &f : fixes) {
        q.bindValue(QStringLiteral(":ship_id"), shipId);
        q.bindValue(QStringLiteral(":regatta_id"), event);
        q.bindValue(QStringLiteral(":lat"), f.lat);
        q.bindValue(QStringLiteral(":lng"), f.lng);
        q.bindValue(QStringLiteral(":tstamp"), f.time);
        q.exec();
    }
    db.commit();
}

QList<Fix> straight(double lat, double lng, double dLat, double dLng, int t0, int dt, int n)
{
    QList<Fix> fixes;
    for (int i = 0; i < n; ++i)
        fixes.append({lat + dLat * i, lng + dLng * i, t0 + dt * i});
    return fixes;
}

void setRaceWindow(int eventId, int taskId, int von, int bis)
{
    QSqlQuery q;
    q.prepare(QStringLiteral("UPDATE regatta SET von=:von, bis=:bis WHERE event_id=:e AND task_id=:t"));
    q.bindValue(QStringLiteral(":von"), von);
    q.bindValue(QStringLiteral(":bis"), bis);
    q.bindValue(QStringLiteral(":e"), eventId);
    q.bindValue(QStringLiteral(":t"), taskId);
    q.exec();
}

namespace {
QVariant scalar(const QString &sql, int a, int b = 0)
{
    QSqlQuery q;
    q.prepare(sql);
    q.bindValue(QStringLiteral(":a"), a);
    if (sql.contains(QStringLiteral(":b")))
        q.bindValue(QStringLiteral(":b"), b);
    if (!q.exec() || !q.next())
        return QVariant();
    return q.value(0);
}
} // namespace

int trackRows(int shipId, int event)
{
    return scalar(QStringLiteral("SELECT count(*) FROM track WHERE ship_id=:a AND regatta_id=:b"), shipId, event).toInt();
}

int distinctTrackRows(int shipId, int event)
{
    return scalar(QStringLiteral("SELECT count(DISTINCT tstamp) FROM track WHERE ship_id=:a AND regatta_id=:b"),
                  shipId, event)
        .toInt();
}

int storedLastget(int shipId)
{
    return scalar(QStringLiteral("SELECT lastget FROM ship WHERE id=:a"), shipId).toInt();
}

QString storedFollow(int shipId)
{
    return scalar(QStringLiteral("SELECT follow FROM ship WHERE id=:a"), shipId).toString();
}

} // namespace RaceData

void storeFleet(int firstTime)
{
    using RaceData::Boat;
    RaceData::insertBoat(Boat{101, 125, QStringLiteral("J/80"), QStringLiteral("10"), QStringLiteral("Bora")});
    RaceData::insertBoat(Boat{102, 125, QStringLiteral("J/80"), QStringLiteral("2"), QStringLiteral("Jugo")});
    RaceData::insertBoat(Boat{201, 125, QStringLiteral("Melges"), QStringLiteral("7"), QStringLiteral("Maestral")});
    RaceData::insertBoat(Boat{202, 125, QStringLiteral("Melges"), QStringLiteral("8"), QStringLiteral("Tramontana")});
    const int ids[] = {101, 102, 201, 202};
    for (int i = 0; i < 4; ++i)
        RaceData::insertTrack(ids[i], 125, RaceData::straight(42.70 + 0.01 * i, 16.10, 0.0005, 0.0008, firstTime + 5 * i, 60, 61));
}
