#include "tests/race/RegattaTest.h"

#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeViewModel.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/PinnedClock.h"
#include "tests/support/TestEnvironment.h"
#include "store/LocalDatabase.h"
#include "tests/support/WindowRig.h"
#include "window/SettingsPage.h"
#include "window/TrackingClient.h"

#include <QCheckBox>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
// The 2024 test race: 10 April 2024 10:00 to 13 April 05:59 UTC.
constexpr int von279 = 1712743200;
constexpr int bis279 = 1712987940;

QList<int> shipIds(const Regatta &regatta)
{
    QList<int> ids;
    for (const Ship *s : regatta.ships())
        ids << s->id();
    return ids;
}
} // namespace

void RegattaTest::init()
{
    TestEnvironment::reset();
}

void RegattaTest::futureRaceAsksForTheBoatListEvenWithStoredBoats()
{
    PinnedClock clock(von279 - 3600);
    WindowRig rig;
    storeFleet();
    Regatta &regatta = rig.start(125, 279);
    QVERIFY(regatta.ships().isEmpty());
    QCOMPARE(rig.window->participantList()->model()->rowCount(), 0);
    QVERIFY(QTest::qWaitFor([&] { return rig.tracking.requests(TrackingServerFixture::boatsPath).size() == 1; }));
    const HttpRequest request = rig.tracking.requests(TrackingServerFixture::boatsPath).first();
    QCOMPARE(request.target, QByteArray("/api/getBoats.php?rg=125&wf=279&csv=1"));
    QCOMPARE(request.header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    QCOMPARE(request.header("Track-Type"), QByteArray("getnewboats"));
    // A race that has not ended keeps loading enabled.
    QVERIFY(rig.window->settingsPage()->autoLoadBox()->isEnabled());
}

void RegattaTest::boatWithoutPositionsIsAskedForFromRaceStart()
{
    PinnedClock clock(von279 + 3600);
    {
        WindowRig rig;
        storeFleet();
        RaceData::insertBoat({301, 125, QStringLiteral("Melges"), QStringLiteral("9"), QStringLiteral("Neu")});
        Regatta &regatta = rig.start(125, 279);
        QCOMPARE(regatta.ships().size(), 5);
        Ship *fresh = rig.ship(301);
        QVERIFY(!fresh->ready());
        QCOMPARE(fresh->lastget(), von279);
        QCOMPARE(fresh->sourceKind(), QStringLiteral("url"));
        QVERIFY(QTest::qWaitFor([&] { return rig.tracking.positionRequests(301).size() == 1; }));
        const HttpRequest request = rig.tracking.positionRequests(301).first();
        QCOMPARE(request.target, QByteArray("/api/getPosition.php?rg=125&wf=279&bo=301&h=5&la=1712743200&csv=1&lid=1712743200"));
        QCOMPARE(request.header("Track-Type"), QByteArray("getnewpos"));
        // Boats with stored positions were not asked for.
        QVERIFY(rig.tracking.positionRequests(101).isEmpty());
        QVERIFY(rig.settle());
    }
    LocalDatabase::close();
    TestEnvironment::reset();
    WindowRig rig;
    storeFleet();
    RaceData::insertBoat({301, 125, QStringLiteral("Melges"), QStringLiteral("9"), QStringLiteral("Neu")});
    QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET autoload=0")}));
    rig.window = std::make_unique<MainWindow>();
    rig.start(125, 279);
    // Nothing was sent while the race loaded; a probe sent now is the first and only
    // request the server sees.
    QNetworkAccessManager *network = rig.window->trackingClient()->network();
    QVERIFY(network->findChildren<QNetworkReply *>().isEmpty());
    rig.window->trackingClient()->checkServerUp();
    QVERIFY(QTest::qWaitFor([&] { return !rig.tracking.requests(TrackingServerFixture::probePath).isEmpty(); }));
    QCOMPARE(rig.tracking.server().requests().size(), 1);
    QCOMPARE(rig.ship(301)->lastget(), von279);
}

void RegattaTest::finishedRaceSwitchesAutomaticLoadingOff()
{
    PinnedClock clock(bis279 + 1);
    WindowRig rig;
    storeFleet();
    rig.start(125, 279);
    QVERIFY(!rig.window->autoLoad());
    QVERIFY(!rig.window->settingsPage()->autoLoadBox()->isEnabled());
    QVERIFY(!rig.window->settingsPage()->autoLoadBox()->isChecked());
    QVERIFY(!rig.window->autoLoadTimer()->isActive());

    // A race that is still on enables the box again and applies it as it stands.
    clock.set(bis279 - 10);
    rig.window->settingsPage()->autoLoadBox()->setChecked(true);
    rig.window->raceMenu()->actions().at(2)->trigger();
    QVERIFY(rig.window->settingsPage()->autoLoadBox()->isEnabled());
    QVERIFY(rig.window->autoLoad());
    QVERIFY(rig.window->autoLoadTimer()->isActive());
}

void RegattaTest::racesOfOneEventShareBoatsAndPositions()
{
    WindowRig rig;
    storeFleet();
    Regatta &regatta = rig.start(125, 279);
    const QList<int> ids = shipIds(regatta);
    QCOMPARE(ids.size(), 4);
    for (int action : {3, 4}) {
        rig.window->raceMenu()->actions().at(action)->trigger();
        QCOMPARE(shipIds(regatta), ids);
        for (const Ship *s : regatta.ships()) {
            QCOMPARE(s->pointCount(), 61);
            QVERIFY(s->ready());
        }
    }
    QCOMPARE(regatta.taskId(), 281);
    QCOMPARE(regatta.raceName(), QStringLiteral("Round Zirkavento 2024 , Das Rennen"));
}

void RegattaTest::boatsAreGroupedByClassInStartNumberOrder()
{
    WindowRig rig;
    storeFleet();
    RaceData::insertBoat({38, 125, QStringLiteral("J/80"), QStringLiteral("1"), QStringLiteral("Kein Boot")});
    RaceData::insertTrack(38, 125, RaceData::straight(42.7, 16.1, 0.001, 0.001, von279, 60, 5));
    RaceData::insertBoat({401, 999, QStringLiteral("J/80"), QStringLiteral("3"), QStringLiteral("Andere Regatta")});
    Regatta &regatta = rig.start(125, 279);
    // "2" before "10"; boat 38 never appears; boats of other events neither.
    QCOMPARE(shipIds(regatta), (QList<int>{102, 101, 201, 202}));
    TreeViewModel *model = rig.window->participantList()->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->item(0, 0)->text(), QStringLiteral("J/80"));
    QCOMPARE(model->item(0, 0)->rowCount(), 2);
    QCOMPARE(model->item(0, 0)->child(0, 0)->text(), QStringLiteral("2"));
    QCOMPARE(model->item(1, 0)->text(), QStringLiteral("Melges"));
    QCOMPARE(rig.ship(102)->name(), QStringLiteral("Jugo"));
    QCOMPARE(rig.ship(102)->farbe(), QColor(QStringLiteral("#ff008a")));
    QCOMPARE(rig.ship(102)->baseFarbe(), rig.ship(102)->farbe());
    QCOMPARE(rig.ship(102)->raceShips().size(), 4);
}

void RegattaTest::sliderRangeFollowsTheStoredPositions()
{
    WindowRig rig;
    storeFleet(von279);
    rig.start(125, 279);
    QSlider *slider = rig.window->slider();
    // The boats start 0, 5, 10 and 15 s after von and report for an hour.
    QCOMPARE(slider->minimum(), von279 + 60);
    QCOMPARE(slider->maximum(), von279 + 15 + 3600);
    QCOMPARE(slider->value(), slider->maximum());
    QCOMPARE(slider->pageStep(), 120);
    QCOMPARE(slider->singleStep(), 1);
    for (const Ship *s : rig.regatta->ships()) {
        QVERIFY(s->showSprite());
        QCOMPARE(s->currentTime(), slider->maximum());
        QCOMPARE(s->currentPoint().position, s->shownTrack().last().position);
        QCOMPARE(s->shownTrack().colour(), s->farbe());
        QVERIFY(s->scene() == static_cast<QGraphicsScene *>(rig.window->scene()));
    }
}

void RegattaTest::raceWithoutReadyBoatsShowsTheCurrentSecond()
{
    PinnedClock clock(bis279 + 100000);
    WindowRig rig;
    rig.start(125, 279);
    QSlider *slider = rig.window->slider();
    QCOMPARE(slider->minimum(), bis279 + 100000);
    QCOMPARE(slider->maximum(), bis279 + 100000);
    QCOMPARE(slider->value(), bis279 + 100000);
}

void RegattaTest::chosenRaceNamePrefixesLoadInListOrder()
{
    WindowRig rig;
    storeFleet();
    QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE regatta SET name='Round Zirkavento 2024' WHERE task_id=279")}));
    Regatta &regatta = rig.start(10, 88);
    // "Round Zirkavento 2024" is a prefix of the other two 2024 names: choosing "Das
    // Rennen" loads the test race first, then the chosen one, which stays.
    QAction *rennen = rig.window->raceMenu()->actions().at(4);
    QCOMPARE(rennen->text(), QStringLiteral("Round Zirkavento 2024 , Das Rennen"));
    rennen->trigger();
    QCOMPARE(regatta.taskId(), 281);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Brisavela2023 2.24.0 Round Zirkavento 2024 , Das Rennen"));
}

void RegattaTest::eventWithNoBoatToShowReportsAnEmptyList()
{
    // Boat 38 is never listed; an event that has no other boat ends with an empty list.
    WindowRig rig;
    RaceData::insertBoat({38, 125, QStringLiteral("J/80"), QStringLiteral("1"), QStringLiteral("Kein Boot")});
    rig.tracking.setFault(TrackingServerFixture::boatsPath, TrackingServerFixture::Fault::Stall);
    MessageRecorder boxes;
    Regatta &regatta = rig.start(125, 279);
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("init")});
    QCOMPARE(boxes.shown().first().text, QStringLiteral("ships.isEmpty()???"));
    QCOMPARE(boxes.shown().first().icon, QMessageBox::Critical);
    QCOMPARE(boxes.shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Cancel));
    QVERIFY(regatta.ships().isEmpty());
    // As for an event without stored boats, the boat list is asked for.
    QVERIFY(QTest::qWaitFor([&] { return rig.tracking.requests(TrackingServerFixture::boatsPath).size() == 1; }));
}
