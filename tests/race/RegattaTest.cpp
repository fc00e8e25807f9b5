#include "tests/race/RegattaTest.h"

#include "chart/GateItem.h"
#include "chart/Ship.h"
#include "race/Regatta.h"
#include "tests/race/RecordingHost.h"
#include "tests/support/RaceData.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestServices.h"

#include <QTest>

#include <memory>

namespace {
// The 2024 test race: 10 April 2024 10:00 to 13 April 05:59 UTC.
constexpr int von279 = 1712743200;
constexpr int bis279 = 1712987940;

QList<int> shipIds(const QList<Ship *> &ships)
{
    QList<int> ids;
    for (const Ship *s : ships)
        ids << s->id();
    return ids;
}

// The race model on a fresh database with a recording host, as start-up makes it.
struct RaceRig
{
    explicit RaceRig(qint64 now)
    {
        services.clock.pin(now);
        services.environment.setTrackingServerUrl(QUrl(QStringLiteral("http://tracking.test/")));
    }

    Regatta &start(int eventId = 125, int taskId = 279)
    {
        regatta = std::make_unique<Regatta>(&host, eventId, taskId, services.services());
        return *regatta;
    }

    Race race(int taskId) const
    {
        for (const Race &r : host.races) {
            if (r.eventId == 125 && r.taskId == taskId)
                return r;
        }
        return {};
    }

    Ship *ship(int id) const
    {
        for (Ship *s : regatta->ships()) {
            if (s->id() == id)
                return s;
        }
        return nullptr;
    }

    TestServices services;
    TestDatabase db;
    RecordingHost host;
    std::unique_ptr<Regatta> regatta;
};
} // namespace

void RegattaTest::init()
{
    TestEnvironment::reset();
}

void RegattaTest::futureRaceAsksForTheBoatListEvenWithStoredBoats()
{
    RaceRig rig(von279 - 3600);
    storeFleet();
    Regatta &regatta = rig.start();
    // Start-up remembered no race of these; the race is loaded as the menu would load it.
    QCOMPARE(rig.host.races.size(), 5);
    QCOMPARE(rig.host.regatta, &regatta);
    regatta.loadRace(rig.race(279));
    QVERIFY(regatta.ships().isEmpty());
    QVERIFY(rig.host.groups.isEmpty());
    QCOMPARE(rig.host.requests.size(), 1);
    QCOMPARE(rig.host.requests.first().url, QStringLiteral("http://tracking.test/api/getBoats.php?rg=125&wf=279&csv=1"));
    QCOMPARE(rig.host.requests.first().tag, 125);
    QCOMPARE(rig.host.requests.first().kind, RegattaHost::boatListRequest);
    // A race that has not ended keeps loading enabled.
    QCOMPARE(rig.host.calls, QStringList{QStringLiteral("enableLoading")});
}

void RegattaTest::boatWithoutPositionsIsAskedForFromRaceStart()
{
    RaceRig rig(von279 + 3600);
    storeFleet();
    RaceData::insertBoat({301, 125, QStringLiteral("Melges"), QStringLiteral("9"), QStringLiteral("Neu")});
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    QCOMPARE(regatta.ships().size(), 5);
    Ship *fresh = rig.ship(301);
    QVERIFY(!fresh->ready());
    QCOMPARE(fresh->lastget(), von279);
    QCOMPARE(fresh->sourceKind(), QStringLiteral("url"));
    const QList<RecordingHost::Request> asked = rig.host.requestsOfKind(RegattaHost::positionRequest);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().url, QStringLiteral("http://tracking.test/api/getPosition.php?rg=125&wf=279&bo=301&h=5"
                                               "&la=1712743200&csv=1&lid=1712743200"));
    // The tag is the boat's place in the list.
    QCOMPARE(regatta.ships().at(asked.first().tag), fresh);
    // Boats with stored positions are not asked for.
    QVERIFY(rig.host.requestsOfKind(RegattaHost::boatListRequest).isEmpty());

    // With automatic loading off nothing is sent; the boat waits for the next fetch.
    rig.host.requests.clear();
    rig.host.autoLoadFlag = false;
    regatta.loadRace(rig.race(279));
    QVERIFY(rig.host.requests.isEmpty());
    QCOMPARE(rig.ship(301)->lastget(), von279);
}

void RegattaTest::finishedRaceSwitchesAutomaticLoadingOff()
{
    RaceRig rig(bis279 + 1);
    storeFleet();
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    QCOMPARE(rig.host.calls, (QStringList{QStringLiteral("setAutoLoad(false)"), QStringLiteral("disableAutoLoad")}));

    // A race that is still on enables loading again.
    rig.host.calls.clear();
    rig.services.clock.pin(bis279 - 10);
    regatta.loadRace(rig.race(279));
    QCOMPARE(rig.host.calls, QStringList{QStringLiteral("enableLoading")});
}

void RegattaTest::racesOfOneEventShareBoatsAndPositions()
{
    // After the start of all three 2024 races, so none asks for its boat list.
    RaceRig rig(1713200000);
    storeFleet();
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    const QList<int> ids = shipIds(regatta.ships());
    QCOMPARE(ids.size(), 4);
    for (int task : {280, 281}) {
        regatta.loadRace(rig.race(task));
        QCOMPARE(shipIds(regatta.ships()), ids);
        for (const Ship *s : regatta.ships()) {
            QCOMPARE(s->pointCount(), 61);
            QVERIFY(s->ready());
        }
    }
    QCOMPARE(regatta.taskId(), 281);
    QCOMPARE(regatta.raceName(), QStringLiteral("Round Zirkavento 2024 , Das Rennen"));
    // Set E: eight legs, listed in the gate menu and placed on the chart; every load took the
    // old gates off the chart first.
    QCOMPARE(rig.host.listedGates.size(), 8);
    QCOMPARE(rig.host.placedGates.last(), rig.host.listedGates);
    QCOMPARE(rig.host.placedGates.size(), 6);
    QVERIFY(rig.host.placedGates.at(4).isEmpty());
}

void RegattaTest::boatsAreGroupedByClassInStartNumberOrder()
{
    RaceRig rig(von279);
    storeFleet();
    RaceData::insertBoat({38, 125, QStringLiteral("J/80"), QStringLiteral("1"), QStringLiteral("Kein Boot")});
    RaceData::insertTrack(38, 125, RaceData::straight(42.7, 16.1, 0.001, 0.001, von279, 60, 5));
    RaceData::insertBoat({401, 999, QStringLiteral("J/80"), QStringLiteral("3"), QStringLiteral("Andere Regatta")});
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    // "2" before "10"; boat 38 never appears; boats of other events neither.
    QCOMPARE(shipIds(regatta.ships()), (QList<int>{102, 101, 201, 202}));
    QCOMPARE(rig.host.groups.size(), 2);
    QCOMPARE(rig.host.groups[0].className, QStringLiteral("J/80"));
    QCOMPARE(shipIds(rig.host.groups[0].ships), (QList<int>{102, 101}));
    QCOMPARE(rig.host.groups[0].row, 0);
    QCOMPARE(rig.host.groups[1].className, QStringLiteral("Melges"));
    QCOMPARE(rig.host.groups[1].row, 1);
    QCOMPARE(rig.host.boatListsCompleted, 1);
    QCOMPARE(rig.ship(102)->name(), QStringLiteral("Jugo"));
    QCOMPARE(rig.ship(102)->farbe(), QColor(QStringLiteral("#ff008a")));
    QCOMPARE(rig.ship(102)->baseFarbe(), rig.ship(102)->farbe());
    QCOMPARE(rig.ship(102)->raceShips().size(), 4);
}

void RegattaTest::timeRangeFollowsTheStoredPositions()
{
    RaceRig rig(von279 + 7200);
    storeFleet(von279);
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    // The boats start 0, 5, 10 and 15 s after von and report for an hour.
    QCOMPARE(rig.host.rangeMinimum, von279 + 60);
    QCOMPARE(rig.host.rangeMaximum, von279 + 15 + 3600);
    QCOMPARE(rig.host.uhrzeit, rig.host.rangeMaximum);
    QCOMPARE(rig.host.timeValue, rig.host.rangeMaximum);
    QVERIFY(rig.host.netLedOff >= 1);
    for (Ship *s : regatta.ships()) {
        QVERIFY(rig.host.placedShips.contains(s));
        QVERIFY(!s->showSprite());
        QCOMPARE(s->currentPoint().position, s->shownTrack().point(0).position);
        QCOMPARE(s->shownTrack().colour(), s->farbe());
    }
}

void RegattaTest::raceWithoutReadyBoatsShowsTheCurrentSecond()
{
    RaceRig rig(bis279 + 100000);
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    QCOMPARE(rig.host.rangeMinimum, bis279 + 100000);
    QCOMPARE(rig.host.rangeMaximum, bis279 + 100000);
    QCOMPARE(rig.host.timeValue, bis279 + 100000);
    QCOMPARE(rig.host.uhrzeit, bis279 + 100000);
}

void RegattaTest::eventWithNoBoatToShowReportsAnEmptyList()
{
    // Boat 38 is never listed; an event that has no other boat ends with an empty list.
    RaceRig rig(von279);
    RaceData::insertBoat({38, 125, QStringLiteral("J/80"), QStringLiteral("1"), QStringLiteral("Kein Boot")});
    MessageRecorder boxes(rig.services.messages);
    Regatta &regatta = rig.start();
    regatta.loadRace(rig.race(279));
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("init")});
    QCOMPARE(boxes.shown().first().text, QStringLiteral("ships.isEmpty()???"));
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Critical);
    QCOMPARE(boxes.shown().first().buttons, MessagePresenter::Buttons(MessageRequest::Cancel));
    QVERIFY(regatta.ships().isEmpty());
    // As for an event without stored boats, the boat list is asked for.
    QCOMPARE(rig.host.requestsOfKind(RegattaHost::boatListRequest).size(), 1);
}
