#include "tests/faults/CrashSafetyTest.h"

#include "store/DatabaseSchema.h"
#include "store/Environment.h"
#include "store/LocalDatabase.h"
#include "tests/e2e/StoredRaceCheck.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/RaceData.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TrackingServerFixture.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <algorithm>

namespace {
constexpr int eventId = 777;
constexpr int boatCount = 6;
constexpr int positionsPerBoat = 30000;

// The viewer's own database, made as its start-up makes it, with a running race of boats
// whose positions it has never fetched; and its settings, pointing at the test's server.
bool writeProfile(const QString &root, const QUrl &server, qint64 von, qint64 bis)
{
    const QString folder = root + QStringLiteral("/data/Brisavela2023");
    QDir().mkpath(folder + QStringLiteral("/maps"));
    bool existed = false;
    if (!LocalDatabase::open(folder + QStringLiteral("/brisavela2024.db"), &existed))
        return false;
    {
        MessageRecorder creation;
        DatabaseSchema::createOrUpgrade(existed, creation);
        LocalDatabase::ensureIndexes();
    }
    bool ok = SqlHelpers::exec({
        QStringLiteral("INSERT INTO regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
                       "VALUES (99, %1, 1, 'Absturzprobe', %2, %3, 0)")
            .arg(eventId)
            .arg(von)
            .arg(bis),
        QStringLiteral("UPDATE prefs SET loadmaps=0, lookforupdate=0, autoload=1 WHERE id=1"),
    });
    for (int i = 0; i < boatCount; ++i) {
        RaceData::insertBoat({1000 + i, eventId, QStringLiteral("Laser"), QString::number(i + 1),
                              QStringLiteral("Boot %1").arg(i + 1)});
    }
    LocalDatabase::close();
    QSettings settings(root + QStringLiteral("/config/brisavela.org/Brisavela.conf"), QSettings::IniFormat);
    settings.setValue(QLatin1String(Environment::keyTrackingServer), server.toString());
    settings.setValue(QLatin1String(Environment::keyDownloadServer), server.toString());
    settings.setValue(QLatin1String(Environment::keyTileServer), QStringLiteral("http://127.0.0.1:9"));
    settings.setValue(QLatin1String(Environment::keyEventId), eventId);
    settings.setValue(QLatin1String(Environment::keyTaskId), 1);
    settings.sync();
    return ok && settings.status() == QSettings::NoError;
}

// A connection of its own on a file; opening it rolls back what a killed writer left.
class Inspection
{
public:
    explicit Inspection(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        m_open = db.open();
    }
    ~Inspection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    bool isOpen() const { return m_open; }
    QList<QVariantList> rows(const QString &select) const
    {
        QList<QVariantList> result;
        QSqlQuery query(QSqlDatabase::database(name, false));
        if (!query.exec(select))
            return {{QStringLiteral("failed: %1").arg(select)}};
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            result << row;
        }
        return result;
    }

private:
    static constexpr char name[] = "crashinspection";
    bool m_open = false;
};

// What must hold of the file whenever the viewer stops: sound, every row whole and once, and
// lastget claiming no more than is stored: a boat holds exactly the served positions up to
// its lastget (all of an answer, none, or, should an answer be stored in parts, its
// beginning). Returns the boats whose positions are all stored.
QList<int> checkConsistent(const QString &path, const QList<StoredRaceCheck::Boat> &served)
{
    QList<int> complete;
    Inspection db(path);
    if (!db.isOpen()) {
        QTest::qFail("the database cannot be opened", __FILE__, __LINE__);
        return complete;
    }
    const QList<QVariantList> integrity = db.rows(QStringLiteral("PRAGMA integrity_check"));
    if (!(integrity.size() == 1 && integrity.first().first().toString() == QLatin1String("ok"))) {
        QTest::qFail(qPrintable(QStringLiteral("integrity_check: %1").arg(integrity.value(0).value(0).toString())),
                     __FILE__, __LINE__);
        return complete;
    }
    const int incomplete =
        db.rows(QStringLiteral("SELECT count(*) FROM track WHERE ship_id IS NULL OR regatta_id IS NULL OR lat IS NULL "
                               "OR lng IS NULL OR tstamp IS NULL OR typeof(lat) NOT IN ('real', 'integer') "
                               "OR typeof(lng) NOT IN ('real', 'integer') OR typeof(tstamp) != 'integer'"))
            .first()
            .first()
            .toInt();
    const int repeated = db.rows(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM track GROUP BY ship_id, "
                                                "regatta_id, tstamp HAVING count(*) > 1)"))
                             .first()
                             .first()
                             .toInt();
    if (incomplete != 0 || repeated != 0) {
        QTest::qFail(qPrintable(QStringLiteral("%1 incomplete rows, %2 positions stored more than once")
                                    .arg(incomplete)
                                    .arg(repeated)),
                     __FILE__, __LINE__);
        return complete;
    }
    for (const StoredRaceCheck::Boat &boat : served) {
        const QVariantList row = db.rows(QStringLiteral("SELECT count(*), max(tstamp), (SELECT lastget FROM ship WHERE "
                                                        "id=%1) FROM track WHERE ship_id=%1 AND regatta_id=%2")
                                             .arg(boat.id)
                                             .arg(eventId))
                                     .first();
        const int count = row[0].toInt();
        const qint64 lastget = row[2].toLongLong();
        const auto upToLastget = std::count_if(boat.positions.cbegin(), boat.positions.cend(),
                                               [&](const StoredRaceCheck::Position &p) { return p.time <= lastget; });
        const bool newestIsLastget = count == 0 || row[1].toLongLong() == lastget;
        if (count != upToLastget || !newestIsLastget) {
            QTest::qFail(qPrintable(QStringLiteral("boat %1: %2 positions stored, %3 served up to lastget %4")
                                        .arg(boat.id)
                                        .arg(count)
                                        .arg(upToLastget)
                                        .arg(lastget)),
                         __FILE__, __LINE__);
            return complete;
        }
        if (count == boat.positions.size())
            complete << boat.id;
    }
    return complete;
}
} // namespace

void CrashSafetyTest::init()
{
    TestEnvironment::reset();
}

void CrashSafetyTest::killedWhileStoringLosesNothingAndCompletesLater()
{
    const QString root = TestEnvironment::freshFolder(QStringLiteral("crash"));
    const QProcessEnvironment env = TestEnvironment::viewerProcess(root);
    const QString dbPath = root + QStringLiteral("/data/Brisavela2023/brisavela2024.db");
    const QString journal = dbPath + QStringLiteral("-journal");

    // A race under way, every boat with days of positions ten seconds apart.
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 von = now - 5 * 86400;
    TrackingServerFixture tracking;
    QList<StoredRaceCheck::Boat> served;
    for (int i = 0; i < boatCount; ++i) {
        const QList<RaceData::Fix> fixes =
            RaceData::straight(42.5 + 0.01 * i, 15.5, 0.00001, 0.00002, int(von) + 10 + i, 10, positionsPerBoat);
        tracking.setPositions(1000 + i, fixes);
        StoredRaceCheck::Boat boat{1000 + i, 0, {}};
        for (const RaceData::Fix &f : fixes)
            boat.positions.append({f.lat, f.lng, f.time});
        served << boat;
    }
    QVERIFY(writeProfile(root, tracking.baseUrl(), von, now + 86400));
    const int total = boatCount * positionsPerBoat;

    auto startViewer = [&](QProcess &viewer, const QString &log) {
        viewer.setProcessEnvironment(env);
        viewer.setWorkingDirectory(QStringLiteral(BRISAVELA_SOURCE_DIR));
        viewer.setStandardOutputFile(root + QStringLiteral("/%1.out").arg(log));
        viewer.setStandardErrorFile(root + QStringLiteral("/%1.err").arg(log));
        viewer.start(QStringLiteral(BRISAVELA_VIEWER), {});
        return viewer.waitForStarted();
    };

    // Killed as soon as some answers are stored and another one is being written.
    QProcess first;
    QVERIFY(startViewer(first, QStringLiteral("first")));
    QElapsedTimer clock;
    clock.start();
    int stored = 0;
    bool writing = false;
    while (clock.elapsed() < 120000 && first.state() == QProcess::Running) {
        stored = StoredRaceCheck::storedPositions(dbPath, eventId);
        writing = QFile::exists(journal);
        if (stored > 0 && stored < total && writing)
            break;
        QTest::qWait(5);
    }
    QVERIFY2(first.state() == QProcess::Running, "the viewer ended by itself");
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    QVERIFY2(stored > 0 && stored < total,
             qPrintable(QStringLiteral("%1 of %2 positions stored when the viewer was killed").arg(stored).arg(total)));
    const bool hotJournal = QFile::exists(journal);
    qInfo("killed with %d of %d positions stored%s", stored, total,
          hotJournal ? ", an answer half written" : ", between two answers");

    // A copy of what the kill left, looked at as the next start will find it.
    const QString copy = TestEnvironment::freshFolder(QStringLiteral("crash-copy")) + QStringLiteral("/copy.db");
    QVERIFY(QFile::copy(dbPath, copy));
    if (hotJournal)
        QVERIFY(QFile::copy(journal, copy + QStringLiteral("-journal")));
    const QList<int> before = checkConsistent(copy, served);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(before.size() < boatCount);

    // The next start asks again only for the boats not complete, and gets them all.
    QProcess second;
    QVERIFY(startViewer(second, QStringLiteral("second")));
    clock.restart();
    while (clock.elapsed() < 120000 && second.state() == QProcess::Running
           && StoredRaceCheck::storedPositions(dbPath, eventId) < total)
        QTest::qWait(50);
    QVERIFY2(second.state() == QProcess::Running, "the restarted viewer ended by itself");
    QCOMPARE(StoredRaceCheck::storedPositions(dbPath, eventId), total);
    second.terminate();
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QCOMPARE(checkConsistent(dbPath, served).size(), boatCount);
    const QStringList problems = StoredRaceCheck::problems(dbPath, eventId, served);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 10).join(QLatin1Char('\n'))));
    for (const StoredRaceCheck::Boat &boat : served)
        QCOMPARE(tracking.positionRequests(boat.id).size(), before.contains(boat.id) ? 1 : 2);
}
