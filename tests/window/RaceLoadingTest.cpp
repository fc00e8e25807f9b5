#include "tests/window/RaceLoadingTest.h"

#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/SettingsPage.h"

#include <QCheckBox>
#include <QMenu>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
// The 2024 test race: 10 April 2024 10:00 to 13 April 05:59 UTC.
constexpr int von279 = 1712743200;
constexpr int bis279 = 1712987940;
} // namespace

void RaceLoadingTest::init()
{
    TestEnvironment::reset();
}

void RaceLoadingTest::finishedRaceGreysAutomaticLoading()
{
    WindowRig rig;
    rig.clock.pin(bis279 + 1);
    storeFleet();
    rig.start(125, 279);
    QVERIFY(!rig.window->autoLoad());
    QVERIFY(!rig.window->settingsPage()->autoLoadBox()->isEnabled());
    QVERIFY(!rig.window->settingsPage()->autoLoadBox()->isChecked());
    QVERIFY(!rig.window->autoLoadTimer()->isActive());

    // A race that is still on enables the box again and applies it as it stands.
    rig.clock.pin(bis279 - 10);
    rig.window->settingsPage()->autoLoadBox()->setChecked(true);
    rig.window->raceMenu()->actions().at(2)->trigger();
    QVERIFY(rig.window->settingsPage()->autoLoadBox()->isEnabled());
    QVERIFY(rig.window->autoLoad());
    QVERIFY(rig.window->autoLoadTimer()->isActive());
}

void RaceLoadingTest::sliderRangeFollowsTheStoredPositions()
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

void RaceLoadingTest::chosenRaceNamePrefixesLoadInListOrder()
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
