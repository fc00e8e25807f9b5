#include "tests/window/TrackingClientTest.h"

#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeViewModel.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "tools/httpserver/LocalHttpServer.h"
#include "window/ReplyChunks.h"
#include "window/SettingsPage.h"
#include "window/TrackingClient.h"

#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSlider>
#include <QStandardItem>
#include <QTest>
#include <QTimer>

namespace {
using RaceData::Fix;
constexpr int von = 1712743200;
constexpr int fetchedAt = 1712745000;

QString shortTime(int t)
{
    return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
}

// Boats of event 125 stored without positions: loading the race asks for them.
void storeNewBoats()
{
    RaceData::insertBoat({301, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")});
    RaceData::insertBoat({302, 125, QStringLiteral("Laser"), QStringLiteral("2"), QStringLiteral("Triton")});
}

QList<Fix> minuteFixes(int first, int n)
{
    return RaceData::straight(42.75, 16.05, 0.0004, 0.0006, first, 60, n);
}

QStringList boatList(int count, int event = 125)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << TrackingServerFixture::boatLine(QStringLiteral("Laser"), 500 + i, QString::number(i + 1),
                                                 QStringLiteral("Boot %1").arg(i), QStringLiteral("Team"),
                                                 QStringLiteral("Skipper"), von + i, event);
    return lines;
}
} // namespace

void TrackingClientTest::init()
{
    TestEnvironment::reset();
}

void TrackingClientTest::requestsCarryTheirHeadersAndQueries()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 281);
    rig.window->getData();
    QVERIFY(rig.settle());
    const QList<HttpRequest> probes = rig.tracking.requests(TrackingServerFixture::probePath);
    QCOMPARE(probes.size(), 1);
    QCOMPARE(probes.first().header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    QVERIFY(!probes.first().hasHeader("Track-Type"));
    QCOMPARE(probes.first().target, QByteArray("/api/isup.html"));

    // The first press of the button fetches, without waiting for a probe to come back.
    const QList<HttpRequest> positions = rig.tracking.requests(TrackingServerFixture::positionsPath);
    QCOMPARE(positions.size(), 4);
    const Ship *jugo = rig.ship(102);
    QCOMPARE(positions.first().target, QStringLiteral("/api/getPosition.php?rg=125&wf=281&bo=102&h=5&la=%1&csv=1&lid=%1")
                                           .arg(jugo->lastget())
                                           .toLatin1());
    QCOMPARE(positions.first().header("Track-Type"), QByteArray("getnewpos"));
    QCOMPARE(positions.first().header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    QVERIFY(!rig.window->busy());

    // A boat-list request says so in its Track-Type.
    rig.window->startRequest(QStringLiteral("%1?rg=125&wf=281&csv=1").arg(rig.regatta->boatListUrl()), 125, 2);
    QVERIFY(QTest::qWaitFor([&] { return rig.tracking.requests(TrackingServerFixture::boatsPath).size() == 1; }));
    const HttpRequest boats = rig.tracking.requests(TrackingServerFixture::boatsPath).first();
    QCOMPARE(boats.target, QByteArray("/api/getBoats.php?rg=125&wf=281&csv=1"));
    QCOMPARE(boats.header("Track-Type"), QByteArray("getnewboats"));
    QCOMPARE(boats.header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    QVERIFY(rig.settle());
}

void TrackingClientTest::repeatedTimeStampsAreStoredOnce()
{
    WindowRig rig;
    rig.clock.pin(fetchedAt);
    storeNewBoats();
    // Times after the race start, which the first request asked from.
    const int t0 = von + 100;
    const int t1 = von + 160;
    rig.tracking.setPositionBody(
        301, QStringLiteral("43.1;16.1;%1;90;0\n43.2;16.2;%1;90;0\n43.3;16.3;%2;45;0\n").arg(t0).arg(t1).toLatin1());
    rig.start(125, 279);
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(301, 125), 2);
    QCOMPARE(RaceData::storedLastget(301), t1);
    Ship *neptun = rig.ship(301);
    QCOMPARE(neptun->lastget(), t1);
    QCOMPARE(neptun->pointCount(), 2);
    QVERIFY(neptun->ready());
    QCOMPARE(neptun->fullTrack().point(0).position, GeoPoint(43.1, 16.1));
    QCOMPARE(neptun->fullTrack().point(0).course, 90.0);
    // Reported long ago: red, with the time of the last report.
    QCOMPARE(neptun->lastReportCell()->text(), shortTime(t1));
    QCOMPARE(neptun->lastReportCell()->foreground().color(), QColor(Qt::red));
    QCOMPARE(rig.window->settingsPage()->lastQueryLabel()->text(),
             QDateTime::fromSecsSinceEpoch(fetchedAt).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    // Placed on the chart, the slider spanning the new positions.
    QCOMPARE(rig.window->slider()->maximum(), t1);
}

void TrackingClientTest::answerWithoutValidLinesKeepsLastget()
{
    WindowRig rig;
    rig.clock.pin(fetchedAt);
    storeNewBoats();
    RaceData::insertBoat({303, 125, QStringLiteral("Laser"), QStringLiteral("3"), QStringLiteral("Zero")});
    rig.tracking.setPositionBody(301, "43.1;16.1;1000;0\nkaputt\n91;16;1000;0;0\n43;16;0;0;0\n");
    rig.tracking.setPositions(302, minuteFixes(fetchedAt - 120, 2));
    rig.tracking.setPositionBody(303, "");
    rig.start(125, 279);
    QVERIFY(rig.settle());
    Ship *neptun = rig.ship(301);
    QCOMPARE(RaceData::trackRows(301, 125), 0);
    // The race start is what the request asked from; it stays.
    QCOMPARE(neptun->lastget(), von);
    QCOMPARE(neptun->lastReportCell()->text(), shortTime(von));
    QCOMPARE(neptun->lastReportCell()->foreground().color(), QColor(Qt::red));
    // Fresh positions: black.
    QCOMPARE(rig.ship(302)->lastReportCell()->foreground().color(), QColor(Qt::black));
    QCOMPARE(rig.ship(302)->lastReportCell()->text(), shortTime(fetchedAt - 60));

    // A boat whose lastget is 0 and that gets nothing shows the unknown time in red.
    rig.ship(303)->setLastget(0);
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.ship(303)->lastReportCell()->text(), QStringLiteral("--.--.---- --:--"));
    QCOMPARE(rig.ship(303)->lastReportCell()->foreground().color(), QColor(Qt::red));
}

void TrackingClientTest::boatListStoresBoatsWithPaletteColours()
{
    WindowRig rig;
    QStringList lines = boatList(16);
    // Malformed lines are skipped and do not take a colour.
    lines.insert(3, QStringLiteral("Laser|999|x|1|Bad|T|S|y|125"));
    lines.insert(5, QStringLiteral("Laser|998|x|1|Bad|T|S|y|1|125|extra"));
    rig.tracking.setBoats(125, lines);
    LogCapture log;
    rig.start(125, 279);
    QVERIFY(QTest::qWaitFor([&] { return rig.regatta->ships().size() == 16; }));
    QCOMPARE(log.count(QStringLiteral("MainWindow::handleNetworkData, ungleich 10 ...")), 2);
    const QList<QVariantList> rows =
        SqlHelpers::rows(QStringLiteral("SELECT id, farbe, lastget, show, follow, klasse FROM ship ORDER BY id"));
    QCOMPARE(rows.size(), 16);
    QCOMPARE(rows[0], (QVariantList{500, QStringLiteral("#ff008a"), von, 1, 0, QStringLiteral("Laser")}));
    QCOMPARE(rows[1][1].toString(), QStringLiteral("#00ffcc"));
    QCOMPARE(rows[14][1].toString(), QStringLiteral("#b10034"));
    QCOMPARE(rows[15][1].toString(), QStringLiteral("#ff008a"));
    QVERIFY(log.containsPart(QStringLiteral("MainWindow::handleNetworkData, getBoats, insert, line=")));
    QVERIFY(log.contains(QStringLiteral("MainWindow::handleNetworkData, getBoats finished")));
    // Then positions are fetched for every boat.
    QVERIFY(QTest::qWaitFor([&] { return rig.tracking.requests(TrackingServerFixture::positionsPath).size() == 16; }));
}

void TrackingClientTest::rereadBoatListResetsTheEventsPositions()
{
    WindowRig rig;
    storeFleet();
    RaceData::insertTrack(101, 122, minuteFixes(von, 3));
    QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE ship SET lastget=1712746800")}));
    rig.tracking.setBoats(125, {TrackingServerFixture::boatLine(QStringLiteral("J/80"), 101, QStringLiteral("10"),
                                                                  QStringLiteral("Bora neu"), QStringLiteral("T"),
                                                                  QStringLiteral("S"), von, 125)});
    rig.start(125, 279);
    rig.window->startRequest(QStringLiteral("%1?rg=125&wf=279&csv=1").arg(rig.regatta->boatListUrl()), 125, 2);
    QVERIFY(QTest::qWaitFor([&] { return RaceData::trackRows(101, 125) == 0; }));
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT name, lastget, farbe FROM ship WHERE id=101")),
             (QList<QVariantList>{{QStringLiteral("Bora neu"), 0, QStringLiteral("#ff008a")}}));
    // Other boats and other events keep theirs.
    QCOMPARE(RaceData::trackRows(102, 125), 61);
    QCOMPARE(RaceData::trackRows(101, 122), 3);
    QCOMPARE(RaceData::storedLastget(102), 1712746800);
}

void TrackingClientTest::futureRaceLoadsBoatsThenPositions()
{
    WindowRig rig;
    rig.clock.pin(von - 600);
    rig.tracking.setBoats(125, boatList(3));
    for (int i = 0; i < 3; ++i)
        rig.tracking.setPositions(500 + i, minuteFixes(von + 10 * i + 1, 30));
    Regatta &regatta = rig.start(125, 279);
    QVERIFY(regatta.ships().isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return regatta.ships().size() == 3 && regatta.ships().last()->ready(); }));
    QVERIFY(rig.settle());
    for (const Ship *s : regatta.ships()) {
        QCOMPARE(s->pointCount(), 30);
        QCOMPARE(RaceData::trackRows(s->id(), 125), 30);
        QCOMPARE(RaceData::distinctTrackRows(s->id(), 125), 30);
        QVERIFY(s->scene());
    }
    QCOMPARE(rig.window->participantList()->model()->rowCount(), 1);
    QCOMPARE(rig.window->slider()->maximum(), von + 21 + 29 * 60);
    QCOMPARE(rig.window->slider()->minimum(), von + 1 + 60);
}

void TrackingClientTest::laterFetchesAskFromLastget()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    rig.tracking.setPositions(301, minuteFixes(von + 60, 10));
    rig.start(125, 279);
    QVERIFY(rig.settle());
    QCOMPARE(rig.ship(301)->lastget(), von + 60 * 10);
    rig.tracking.setPositions(301, minuteFixes(von + 60, 15));
    rig.tracking.server().clearRequests();
    rig.window->getData();
    QVERIFY(rig.settle());
    const QList<HttpRequest> asked = rig.tracking.positionRequests(301);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().query().queryItemValue(QStringLiteral("la")).toInt(), von + 600);
    QCOMPARE(asked.first().query().queryItemValue(QStringLiteral("lid")).toInt(), von + 600);
    QCOMPARE(RaceData::trackRows(301, 125), 15);
    QCOMPARE(rig.ship(301)->pointCount(), 15);
    QCOMPARE(rig.ship(301)->lastget(), von + 60 * 15);
}

void TrackingClientTest::networkErrorMakesTheNextFetchOnlyProbe()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 279);
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::ServerError);
    rig.window->getData();
    QVERIFY(rig.settle());
    QVERIFY(!rig.window->serverUp());

    rig.tracking.clearFaults();
    rig.tracking.server().clearRequests();
    LogCapture log;
    rig.window->getData();
    QVERIFY(log.contains(QStringLiteral(" connection not available????")));
    QVERIFY(QTest::qWaitFor([&] { return rig.window->serverUp(); }));
    QVERIFY(rig.tracking.requests(TrackingServerFixture::positionsPath).isEmpty());
    QCOMPARE(rig.tracking.requests(TrackingServerFixture::probePath).size(), 1);

    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.tracking.requests(TrackingServerFixture::positionsPath).size(), 4);
}

void TrackingClientTest::withAutomaticLoadingOffTheTimerIsLeftAlone()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 279);
    QVERIFY(!rig.window->autoLoad());
    QVERIFY(!rig.window->autoLoadTimer()->isActive());
    rig.window->getData();
    QVERIFY(!rig.window->autoLoadTimer()->isActive());
    QVERIFY(rig.settle());

    // With it on, a fetch restarts the period from now.
    rig.window->setAutoLoad(true);
    rig.window->autoLoadTimer()->start(1000);
    rig.window->getData();
    QCOMPARE(rig.window->autoLoadTimer()->interval(), 5 * 60000);
    QVERIFY(rig.window->autoLoadTimer()->isActive());
}

void TrackingClientTest::overlappingFetchesNeverStoreAPositionTwice()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    rig.tracking.setPositions(301, minuteFixes(von + 60, 20));
    rig.tracking.setPositions(302, minuteFixes(von + 30, 20));
    rig.tracking.setDelay(TrackingServerFixture::positionsPath, 150);
    rig.start(125, 279);
    LogCapture log;
    // A second press while the first fetch runs only probes.
    rig.window->getData();
    rig.window->getData();
    QVERIFY(log.contains(QStringLiteral(" still getting data...")));
    // Requests for the same boats from the same time, answered in any order.
    rig.regatta->loadShipsNewPos();
    rig.regatta->loadShipsNewPos();
    QVERIFY(rig.settle());
    QVERIFY(rig.tracking.positionRequests(301).size() >= 3);
    for (int id : {301, 302}) {
        QCOMPARE(RaceData::trackRows(id, 125), 20);
        QCOMPARE(RaceData::distinctTrackRows(id, 125), 20);
        QCOMPARE(rig.ship(id)->pointCount(), 20);
        QCOMPARE(rig.ship(id)->fullTrack().count(), 20);
    }
    // The tracks stay in time order.
    const Track &track = rig.ship(301)->fullTrack();
    for (int i = 1; i < track.count(); ++i)
        QVERIFY(track.point(i).time > track.point(i - 1).time);
}

void TrackingClientTest::lateAnswerAfterARaceChangeIsDropped()
{
    WindowRig rig;
    storeNewBoats();
    RaceData::insertBoat({311, 10, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Alt")});
    RaceData::insertTrack(311, 10, minuteFixes(1270458000, 5));
    rig.tracking.setPositions(301, minuteFixes(von + 60, 20));
    rig.tracking.setPositions(302, minuteFixes(von + 60, 20));
    rig.tracking.setDelay(TrackingServerFixture::positionsPath, 300);
    rig.start(125, 279);
    LogCapture log;
    // Before the answers arrive, the 2010 race is chosen; its one boat has index 0.
    rig.window->raceMenu()->actions().at(0)->trigger();
    QCOMPARE(rig.regatta->ships().size(), 1);
    QVERIFY(rig.settle());
    QVERIFY(log.containsPart(QStringLiteral("boat list changed since the request, dropped")));
    const Ship *old = rig.regatta->ships().first();
    QCOMPARE(old->id(), 311);
    QCOMPARE(old->pointCount(), 5);
    QCOMPARE(RaceData::trackRows(311, 10), 5);
    QCOMPARE(RaceData::trackRows(301, 125), 0);
    QCOMPARE(RaceData::trackRows(301, 10), 0);
    QVERIFY(!rig.window->busy());
}

void TrackingClientTest::stalledServerTimesOutAndFetchingResumes()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    rig.window->trackingClient()->setTimeout(300);
    storeNewBoats();
    rig.tracking.setPositions(301, minuteFixes(von + 60, 5));
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::Stall);
    rig.start(125, 279);
    rig.window->getData();
    QVERIFY(rig.window->busy() || rig.window->trackingClient()->outstandingPositions() > 0);
    QVERIFY(rig.settle(5000));
    QVERIFY(!rig.window->busy());
    QVERIFY(!rig.window->serverUp());

    rig.tracking.clearFaults();
    rig.window->getData(); // probes only
    QVERIFY(QTest::qWaitFor([&] { return rig.window->serverUp(); }));
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(301, 125), 5);
}

void TrackingClientTest::connectionResetMidBodyStoresNothing()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    rig.tracking.setPositions(301, minuteFixes(von + 60, 400));
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::ResetMidBody);
    rig.start(125, 279);
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(301, 125), 0);
    QCOMPARE(rig.ship(301)->pointCount(), 0);
    QCOMPARE(rig.ship(301)->lastget(), von);
    QVERIFY(!rig.window->serverUp());
}

void TrackingClientTest::boatListForAnotherEventLeavesTheShownBoats()
{
    WindowRig rig;
    storeFleet();
    rig.tracking.setBoats(10, boatList(2, 10));
    rig.start(125, 279);
    LogCapture log;
    rig.window->startRequest(QStringLiteral("%1?rg=10&wf=88&csv=1").arg(rig.regatta->boatListUrl()), 10, 2);
    QVERIFY(QTest::qWaitFor([&] { return log.contains(QStringLiteral("MainWindow::handleNetworkData, getBoats finished")); }));
    QCOMPARE(rig.regatta->ships().size(), 4);
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM ship WHERE regatta_id=10")).toInt(), 2);
    QVERIFY(rig.tracking.requests(TrackingServerFixture::positionsPath).isEmpty());
}

void TrackingClientTest::answerInManyPiecesIsStoredWhole()
{
    // A body that comes a piece at a time, cut off after a while: what came is kept, in
    // order, in the pieces it came in, or in one piece when nothing was collected.
    LocalHttpServer server;
    const QByteArray piece = "17;43.5;16.25;1712743260;5\n18;43.5";
    server.setHandler([&piece](const HttpRequest &) { return HttpResponse::endless(piece, 5); });
    QVERIFY(server.listen());
    QNetworkAccessManager network;
    for (const bool collected : {true, false}) {
        QNetworkReply *reply = network.get(QNetworkRequest(server.baseUrl()));
        if (collected)
            ReplyChunks::collect(reply);
        qint64 received = 0;
        connect(reply, &QNetworkReply::downloadProgress, reply, [&received](qint64 bytes) { received = bytes; });
        QVERIFY(QTest::qWaitFor([&] { return received >= 20 * piece.size(); }, 10000));
        const QByteArrayList pieces = ReplyChunks::take(reply);
        reply->abort();
        const QByteArray joined = pieces.join();
        QVERIFY(joined.size() >= 20 * piece.size());
        QCOMPARE(joined, piece.repeated(int(joined.size() / piece.size()) + 1).left(joined.size()));
        QCOMPARE(pieces.size() > 1, collected);
        delete reply;
    }

    // Through the window: every position of a long answer stored and shown.
    WindowRig rig;
    rig.clock.pin(von + 60 * 40001);
    storeNewBoats();
    rig.tracking.setPositions(301, minuteFixes(von + 60, 40000));
    rig.start(125, 279);
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(301, 125), 40000);
    const Track &track = rig.ship(301)->fullTrack();
    QCOMPARE(track.count(), 40000);
    QCOMPARE(track.time(0), von + 60);
    QCOMPARE(track.time(39999), von + 60 * 40000);
    QCOMPARE(rig.ship(301)->lastget(), von + 60 * 40000);
}
