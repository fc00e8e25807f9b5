#include "tests/window/RaceDataIntegrityTest.h"

#include "chart/Ship.h"
#include "tests/support/ExclusiveLock.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/StatusNote.h"
#include "window/TrackingClient.h"

#include <QRandomGenerator>
#include <QSlider>
#include <QStandardItem>
#include <QTest>

#include <algorithm>
#include <map>

namespace {
using RaceData::Fix;
constexpr int von = 1712743200;

void storeNewBoats()
{
    RaceData::insertBoat({301, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")});
    RaceData::insertBoat({302, 125, QStringLiteral("Laser"), QStringLiteral("2"), QStringLiteral("Triton")});
}

QByteArray body(const QList<Fix> &fixes)
{
    QByteArray result;
    for (const Fix &fix : fixes)
        result += TrackingServerFixture::positionLine(fix) + '\n';
    return result;
}

// What must hold for a boat after any answers: the table holds each distinct time served
// once (the first one sent), the boat in memory holds exactly the stored rows in time
// order, and lastget is the newest stored time.
void checkBoat(const WindowRig &rig, int shipId, const std::map<int, Fix> &served)
{
    const QList<QVariantList> rows = SqlHelpers::rows(
        QStringLiteral("SELECT tstamp, lat, lng FROM track WHERE ship_id=%1 AND regatta_id=125 ORDER BY tstamp")
            .arg(shipId));
    QCOMPARE(rows.size(), int(served.size()));
    const Ship *ship = rig.ship(shipId);
    QVERIFY(ship);
    const Track &track = ship->fullTrack();
    QCOMPARE(track.count(), rows.size());
    QCOMPARE(ship->pointCount(), rows.size());
    int i = 0;
    for (const auto &[time, fix] : served) {
        QCOMPARE(rows[i][0].toInt(), time);
        QCOMPARE(track.point(i).time, time);
        QVERIFY(qAbs(track.point(i).position.lat - fix.lat) < 1e-6);
        QVERIFY(qAbs(rows[i][1].toDouble() - fix.lat) < 1e-6);
        ++i;
    }
    QCOMPARE(ship->lastget(), served.rbegin()->first);
    QCOMPARE(RaceData::storedLastget(shipId), served.rbegin()->first);
}
} // namespace

void RaceDataIntegrityTest::init()
{
    TestEnvironment::reset();
}

void RaceDataIntegrityTest::answerNewestFirstKeepsEveryPosition()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    const QList<Fix> fixes{{43.3, 16.3, von + 1060}, {43.1, 16.1, von + 1000}, {43.2, 16.2, von + 1030}};
    rig.tracking.setPositionBody(301, body(fixes));
    // A thousand lines, newest first.
    QList<Fix> reverse = RaceData::straight(42.8, 16.0, 0.0001, 0.0001, von + 60, 5, 1000);
    std::reverse(reverse.begin(), reverse.end());
    rig.tracking.setPositionBody(302, body(reverse));
    rig.start(125, 279);
    QVERIFY(rig.settle());

    checkBoat(rig, 301, {{von + 1000, fixes[1]}, {von + 1030, fixes[2]}, {von + 1060, fixes[0]}});
    std::map<int, Fix> all;
    for (const Fix &f : reverse)
        all.emplace(f.time, f);
    checkBoat(rig, 302, all);
    // The slider spans them all.
    QCOMPARE(rig.window->slider()->maximum(), von + 60 + 5 * 999);
}

void RaceDataIntegrityTest::disorderedOverlappingAnswersAreStoredExactlyOnce()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    // Four answers for one boat: shuffled, overlapping each other, repeating lines and times
    // (a later line with a time already sent says something else and is not kept).
    const QList<Fix> track = RaceData::straight(42.8, 16.0, 0.0002, 0.0003, von + 60, 30, 200);
    QRandomGenerator random(7);
    QList<QByteArray> answers;
    std::map<int, Fix> served;
    for (int a = 0; a < 4; ++a) {
        QList<Fix> part;
        for (int i = a * 40; i < a * 40 + 80 && i < track.size(); ++i)
            part << track[i];
        part << part.first() << part[part.size() / 2];
        part << Fix{50.0, 10.0, part.first().time};
        std::shuffle(part.begin(), part.end(), random);
        for (const Fix &f : part)
            served.emplace(f.time, f);
        answers << body(part);
    }
    rig.tracking.setPositionBodies(301, answers);
    rig.start(125, 279);
    QVERIFY(rig.settle());
    for (int fetch = 0; fetch < 3; ++fetch) {
        rig.window->getData();
        QVERIFY(rig.settle());
    }
    QCOMPARE(rig.tracking.positionRequests(301).size(), 4);
    checkBoat(rig, 301, served);
    const Track &shown = rig.ship(301)->fullTrack();
    for (int i = 1; i < shown.count(); ++i)
        QVERIFY(shown.point(i).time > shown.point(i - 1).time);
}

void RaceDataIntegrityTest::lateBoatListKeepsStoredTracks()
{
    // A race that has not started asks for its boat list at every load, even with boats stored.
    WindowRig rig;
    rig.clock.pin(von - 600);
    storeFleet(von - 7200);
    rig.tracking.setBoats(125, {TrackingServerFixture::boatLine(QStringLiteral("Laser"), 501, QStringLiteral("5"),
                                                                  QStringLiteral("Nachzügler"), QStringLiteral("T"),
                                                                  QStringLiteral("S"), von, 125)});
    // The stored fleet's positions, served again with the position at "la" included.
    const int ids[] = {101, 102, 201, 202};
    for (int i = 0; i < 4; ++i)
        rig.tracking.setPositions(ids[i],
                                  RaceData::straight(42.70 + 0.01 * i, 16.10, 0.0005, 0.0008, von - 7200 + 5 * i, 60, 61));
    rig.tracking.setRepeatsLastPosition(true);
    rig.start(125, 281);
    QVERIFY(QTest::qWaitFor([&] { return rig.regatta->ships().size() == 5; }));
    QVERIFY(rig.settle());
    for (const int id : {101, 102, 201, 202}) {
        const Ship *ship = rig.ship(id);
        QCOMPARE(ship->fullTrack().count(), 61);
        QCOMPARE(ship->pointCount(), 61);
        QVERIFY(ship->ready());
        QVERIFY(ship->scene());
        QCOMPARE(RaceData::trackRows(id, 125), 61);
    }
    // Asked only from where their stored positions end, which the server sends again.
    QVERIFY(!rig.tracking.positionRequests(101).isEmpty());
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(101, 125), RaceData::distinctTrackRows(101, 125));
    QCOMPARE(rig.ship(101)->fullTrack().count(), RaceData::trackRows(101, 125));
}

void RaceDataIntegrityTest::lockedDatabaseLosesNothingForLater()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeNewBoats();
    rig.tracking.setPositions(301, RaceData::straight(42.8, 16.0, 0.0002, 0.0003, von + 60, 60, 30));
    rig.tracking.setPositions(302, RaceData::straight(42.9, 16.0, 0.0002, 0.0003, von + 60, 60, 30));
    rig.tracking.setDelay(TrackingServerFixture::positionsPath, 300);
    rig.start(125, 279);
    QCOMPARE(rig.regatta->ships().size(), 2);
    LogCapture log;
    {
        // Another program holds the file while the answers arrive.
        ExclusiveLock other(rig.db.path());
        QVERIFY(other.isLocked());
        QVERIFY(rig.settle(10000));
    }
    for (const int id : {301, 302}) {
        QVERIFY(rig.ship(id));
        QCOMPARE(RaceData::trackRows(id, 125), 0);
        QCOMPARE(rig.ship(id)->fullTrack().count(), 0);
        // lastget stays where it was, so the next fetch asks again.
        QCOMPARE(rig.ship(id)->lastget(), von);
        QCOMPARE(RaceData::storedLastget(id), 0);
    }
    QVERIFY(log.containsPart(QStringLiteral("nicht gespeichert")));
    QVERIFY(log.containsPart(QStringLiteral("database is locked")));
    QVERIFY(rig.window->statusNote()->text().contains(QStringLiteral("konnten nicht gespeichert werden")));

    rig.tracking.setDelay(TrackingServerFixture::positionsPath, 0);
    rig.window->getData();
    QVERIFY(rig.settle());
    for (const int id : {301, 302}) {
        QCOMPARE(RaceData::trackRows(id, 125), 30);
        QCOMPARE(rig.ship(id)->fullTrack().count(), 30);
        QCOMPARE(rig.ship(id)->lastget(), von + 60 * 30);
    }
    QCOMPARE(rig.tracking.positionRequests(301).last().query().queryItemValue(QStringLiteral("la")).toInt(), von);
}

void RaceDataIntegrityTest::olderPositionsNeverMoveLastgetBack()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    RaceData::Boat boat{301, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")};
    boat.lastget = von + 5000;
    RaceData::insertBoat(boat);
    RaceData::insertTrack(301, 125, {{43.0, 16.0, von + 5000}});
    rig.start(125, 279);
    rig.tracking.setPositionBody(301, body({{43.1, 16.1, von + 1000}, {43.2, 16.2, von + 2000}}));
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.ship(301)->lastget(), von + 5000);
    QCOMPARE(RaceData::storedLastget(301), von + 5000);
    // The gap is filled, in time order.
    QCOMPARE(rig.ship(301)->fullTrack().count(), 3);
    QCOMPARE(rig.ship(301)->fullTrack().point(0).time, von + 1000);
    QCOMPARE(rig.ship(301)->fullTrack().last().time, von + 5000);
    QCOMPARE(RaceData::trackRows(301, 125), 3);
}

void RaceDataIntegrityTest::boatOfAnotherEventIsReportedNotLost()
{
    WindowRig rig;
    RaceData::insertBoat({301, 126, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Anderswo")});
    rig.tracking.setBoats(125, {TrackingServerFixture::boatLine(QStringLiteral("Laser"), 301, QStringLiteral("1"),
                                                                  QStringLiteral("Neptun"), QStringLiteral("T"),
                                                                  QStringLiteral("S"), von, 125),
                                TrackingServerFixture::boatLine(QStringLiteral("Laser"), 302, QStringLiteral("2"),
                                                                  QStringLiteral("Triton"), QStringLiteral("T"),
                                                                  QStringLiteral("S"), von, 125)});
    LogCapture log;
    rig.start(125, 279);
    QVERIFY(QTest::qWaitFor([&] { return rig.regatta->ships().size() == 1; }));
    QVERIFY(log.containsPart(QStringLiteral("Boot-Id 301 ist schon unter Regatta 126 gespeichert, nicht unter 125")));
    QVERIFY(rig.window->statusNote()->text().startsWith(QStringLiteral("1 Boot(e) der Bootsliste")));
    QCOMPARE(rig.regatta->ships().first()->id(), 302);
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT name FROM ship WHERE id=301")).toString(),
             QStringLiteral("Anderswo"));
}
