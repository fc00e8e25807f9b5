#include "tests/e2e/EndToEndTest.h"

#include "store/DatabaseSchema.h"
#include "store/LocalDatabase.h"
#include "tests/demo/HttpGet.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlQuery>
#include <QTest>

namespace {
constexpr int demoEvent = 125;
constexpr qint64 liveStart = 1800000000;

// Everything the server serves for the event from each boat's first time stamp on.
QList<StoredRaceCheck::Boat> servedBoats(quint16 port, int eventId)
{
    QList<StoredRaceCheck::Boat> boats;
    const QByteArray list = HttpGet::get(port, QStringLiteral("api/getBoats.php?rg=%1&wf=281&csv=1").arg(eventId)).body;
    for (const QByteArray &line : list.split('\n')) {
        const QList<QByteArray> f = line.split('|');
        if (f.size() != 10)
            continue;
        StoredRaceCheck::Boat boat{f[1].toInt(), f[8].toLongLong(), {}};
        const QByteArray body = HttpGet::get(port, QStringLiteral("api/getPosition.php?rg=%1&wf=281&bo=%2&h=5&la=%3"
                                                                  "&csv=1&lid=%3")
                                                       .arg(eventId)
                                                       .arg(boat.id)
                                                       .arg(boat.firstTime))
                                    .body;
        for (const QByteArray &p : body.split('\n')) {
            const QList<QByteArray> v = p.split(';');
            if (v.size() == 5)
                boat.positions.append({v[0].toDouble(), v[1].toDouble(), v[2].toLongLong()});
        }
        boats.append(boat);
    }
    return boats;
}
} // namespace

void EndToEndTest::viewerStoresWhatTheServerServes()
{
    const QString root = TestEnvironment::freshFolder(QStringLiteral("e2e"));
    const QProcessEnvironment env = TestEnvironment::viewerProcess(root);

    QProcess server;
    server.setProcessEnvironment(env);
    server.start(QStringLiteral(BRISAVELA_DEMOSERVER),
                 {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--live-start"),
                  QString::number(liveStart), QStringLiteral("--tile-cache"), root + QStringLiteral("/tiles")});
    QVERIFY(server.waitForStarted());
    QByteArray banner;
    QElapsedTimer clock;
    clock.start();
    while (!banner.contains('\n') && clock.elapsed() < 20000 && server.waitForReadyRead(20000))
        banner += server.readAllStandardOutput();
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("http://127.0.0.1:(\\d+)/")).match(QString::fromUtf8(banner));
    QVERIFY2(m.hasMatch(), banner.constData());
    const quint16 port = quint16(m.captured(1).toUInt());
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(port);

    // The profile the run command prepares: no boats of the remembered race are stored.
    QProcess profile;
    profile.setProcessEnvironment(env);
    profile.start(QStringLiteral(BRISAVELA_DEMOPROFILE),
                  {QStringLiteral("--server"), base, QStringLiteral("--live-start"), QString::number(liveStart)});
    QVERIFY(profile.waitForFinished(30000));
    QCOMPARE(profile.exitCode(), 0);
    const QString settingsPath = root + QStringLiteral("/config/brisavela.org/Brisavela.conf");
    const QString dbPath = root + QStringLiteral("/data/Brisavela2023/brisavela2024.db");
    {
        QSettings settings(settingsPath, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("trackingServerUrl")).toString(), base);
        QCOMPARE(settings.value(QStringLiteral("tileServerUrl")).toString(), base.chopped(1));
        QCOMPARE(settings.value(QStringLiteral("taskId")).toInt(), 281);
    }
    QCOMPARE(StoredRaceCheck::storedPositions(dbPath, demoEvent), 0);

    const QList<StoredRaceCheck::Boat> served = servedBoats(port, demoEvent);
    QVERIFY(served.size() >= 20);
    int expected = 0;
    for (const StoredRaceCheck::Boat &b : served)
        expected += b.id == StoredRaceCheck::hiddenBoatId ? 0 : int(b.positions.size());

    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.setWorkingDirectory(QStringLiteral(BRISAVELA_SOURCE_DIR));
    viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer.setStandardOutputFile(root + QStringLiteral("/viewer.log"));
    viewer.start(QStringLiteral(BRISAVELA_VIEWER), {});
    QVERIFY(viewer.waitForStarted());
    // Wait for the positions, not for a time: every served one, or the deadline.
    clock.restart();
    int stored = 0;
    while (clock.elapsed() < 120000 && viewer.state() == QProcess::Running) {
        stored = StoredRaceCheck::storedPositions(dbPath, demoEvent);
        if (stored >= expected)
            break;
        QTest::qWait(250);
    }
    QVERIFY2(viewer.state() == QProcess::Running, "the viewer ended by itself");
    QVERIFY2(stored >= expected, qPrintable(QStringLiteral("%1 of %2 positions stored").arg(stored).arg(expected)));
    // Ended as a desktop session ends it, answers perhaps still on their way: what it stored
    // until then must be whole and once.
    viewer.terminate();
    QVERIFY(viewer.waitForFinished(20000));
    // Ended as a session ends it, the viewer closed its window normally.
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), 0);
    server.terminate();
    server.waitForFinished(5000);

    const QStringList problems = StoredRaceCheck::problems(dbPath, demoEvent, served);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 10).join(QLatin1Char('\n'))));
    // Closing wrote the window's settings: the race shown, the open side panel, the geometry.
    QSettings settings(settingsPath, QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("eventId")).toInt(), demoEvent);
    QCOMPARE(settings.value(QStringLiteral("taskId")).toInt(), 281);
    QCOMPARE(settings.value(QStringLiteral("splitterOpen")).toBool(), true);
    QVERIFY(!settings.value(QStringLiteral("geomMainwindow")).toByteArray().isEmpty());
}

void EndToEndTest::checkerCatchesMissingAndRepeatedPositions()
{
    // A database as the viewer would leave it after storing these boats correctly.
    const QList<StoredRaceCheck::Boat> served = {
        {7001, 1000, {{43.1, 16.1, 1060}, {43.2, 16.2, 1120}, {43.3, 16.3, 1180}}},
        {7002, 1000, {{42.5, 15.5, 1030}, {42.6, 15.6, 1090}}},
        {StoredRaceCheck::hiddenBoatId, 1000, {{42.0, 15.0, 1010}}},
    };
    TestDatabase db;
    QVERIFY(db.isOpen());
    // Without the unique index, as a viewer that lets repeats in would leave the file.
    QVERIFY(SqlHelpers::exec({QStringLiteral("DROP INDEX track_ship_event_tstamp")}));
    for (const StoredRaceCheck::Boat &b : served) {
        const bool hidden = b.id == StoredRaceCheck::hiddenBoatId;
        const qint64 lastget = hidden ? b.firstTime : b.positions.last().time;
        QVERIFY(SqlHelpers::exec({QStringLiteral("INSERT INTO ship (id, regatta_id, lastget) VALUES (%1, 9, %2)")
                                      .arg(b.id)
                                      .arg(lastget)}));
        for (const StoredRaceCheck::Position &p : b.positions) {
            if (!hidden) {
                QVERIFY(SqlHelpers::exec({QStringLiteral("INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) "
                                                         "VALUES (%1, 9, %2, %3, %4)")
                                              .arg(b.id)
                                              .arg(p.lat)
                                              .arg(p.lng)
                                              .arg(p.time)}));
            }
        }
    }
    QVERIFY(StoredRaceCheck::problems(db.path(), 9, served).isEmpty());
    QCOMPARE(StoredRaceCheck::storedPositions(db.path(), 9), 5);

    auto expectProblem = [&](const QString &statement, const QString &undo, const QString &expected) {
        QVERIFY(SqlHelpers::exec({statement}));
        const QStringList found = StoredRaceCheck::problems(db.path(), 9, served);
        QVERIFY2(found.join(QLatin1Char('\n')).contains(expected), qPrintable(found.join(QLatin1Char('\n'))));
        QVERIFY(SqlHelpers::exec({undo}));
        QVERIFY(StoredRaceCheck::problems(db.path(), 9, served).isEmpty());
    };
    expectProblem(QStringLiteral("DELETE FROM track WHERE ship_id=7001 AND tstamp=1120"),
                  QStringLiteral("INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) VALUES (7001, 9, 43.2, 16.2, 1120)"),
                  QStringLiteral("boat 7001: 2 positions stored, 3 served"));
    expectProblem(QStringLiteral("INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) VALUES (7002, 9, 42.6, 15.6, 1090)"),
                  QStringLiteral("DELETE FROM track WHERE id=(SELECT MAX(id) FROM track)"),
                  QStringLiteral("the position of 1090 stored 2 times"));
    expectProblem(QStringLiteral("UPDATE ship SET lastget=1090 WHERE id=7001"),
                  QStringLiteral("UPDATE ship SET lastget=1180 WHERE id=7001"),
                  QStringLiteral("boat 7001: lastget 1090, newest position 1180"));
    expectProblem(QStringLiteral("UPDATE track SET lat=43.25 WHERE ship_id=7001 AND tstamp=1120"),
                  QStringLiteral("UPDATE track SET lat=43.2 WHERE ship_id=7001 AND tstamp=1120"),
                  QStringLiteral("boat 7001: position 1 differs"));
    expectProblem(QStringLiteral("INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) VALUES (38, 9, 42.0, 15.0, 1010)"),
                  QStringLiteral("DELETE FROM track WHERE ship_id=38"),
                  QStringLiteral("boat 38: 1 positions stored, 0 served"));
    expectProblem(QStringLiteral("DELETE FROM ship WHERE id=7002"),
                  QStringLiteral("INSERT INTO ship (id, regatta_id, lastget) VALUES (7002, 9, 1090)"),
                  QStringLiteral("boat 7002 not stored"));
}
