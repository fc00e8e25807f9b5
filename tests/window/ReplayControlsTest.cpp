#include "tests/window/ReplayControlsTest.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "store/Environment.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/LiveFollow.h"
#include "window/ReplaySpeed.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
constexpr int von = 1712743200;

int indexOfFactor(const QComboBox *box, int factor)
{
    return box->findData(factor);
}

// As the user picks an entry of the speed box.
void pick(QComboBox *box, int factor)
{
    const int index = indexOfFactor(box, factor);
    box->setCurrentIndex(index);
    emit box->activated(index);
}
} // namespace

void ReplayControlsTest::init()
{
    TestEnvironment::reset();
}

void ReplayControlsTest::speedsAreOfferedAndRemembered()
{
    {
        WindowRig rig;
        QComboBox *box = rig.window->speedBox();
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        QCOMPARE(texts, (QStringList{"×1 (Echtzeit)", "×5", "×10", "×30", "×60", "×120", "Standard (×333)"}));
        // Without a stored choice the fixed step of the replay is chosen.
        QCOMPARE(box->currentData().toInt(), int(ReplaySpeed::fixedStep));
        QCOMPARE(rig.window->replaySpeed()->factor(), int(ReplaySpeed::fixedStep));
        pick(box, 60);
        QCOMPARE(rig.window->replaySpeed()->factor(), 60);
    }
    {
        WindowRig again;
        QCOMPARE(again.window->replaySpeed()->factor(), 60);
        QCOMPARE(again.window->speedBox()->currentData().toInt(), 60);
    }
    // A value the box does not offer counts as the fixed step.
    Environment::settingsStore()->setValue(QLatin1String(ReplaySpeed::settingsKey), 7);
    WindowRig odd;
    QCOMPARE(odd.window->replaySpeed()->factor(), int(ReplaySpeed::fixedStep));
}

void ReplayControlsTest::realTimeCarriesWhatATickLeavesOver()
{
    QComboBox box;
    ReplaySpeed speed(&box);
    QCOMPARE(speed.stepForTick(10), 10);
    QCOMPARE(speed.advance(30), 0);

    speed.setFactor(1);
    // Real time moves the slider one second for every thousand milliseconds of ticks.
    int moved = 0;
    for (int i = 0; i < 33; ++i)
        moved += speed.advance(30);
    QCOMPARE(moved, 0);
    QCOMPARE(speed.advance(30), 1);

    speed.setFactor(60);
    moved = 0;
    QList<int> steps;
    for (int i = 0; i < 100; ++i) {
        steps << speed.advance(30);
        moved += steps.last();
    }
    // 100 ticks of 30 ms are three seconds, three minutes at sixty times: nothing is lost.
    QCOMPARE(moved, 180);
    QVERIFY(steps.contains(1) && steps.contains(2));
    // A late tick catches up.
    QCOMPARE(speed.advance(1000), 60);

    // Choosing a speed starts anew: nothing carried over from before.
    speed.setFactor(5);
    QCOMPARE(speed.advance(100), 0);
    QCOMPARE(speed.advance(100), 1);
}

void ReplayControlsTest::sixtyTimesRealTimeMovesEveryBoatEveryStep()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    rig.window->replaySpeed()->setFactor(60);
    QSlider *slider = rig.window->slider();
    const int start = slider->minimum();
    slider->setValue(start);
    const Ship *bora = rig.ship(101);
    QList<int> values;
    bool boatsKeptUp = true;
    QObject::connect(slider, &QSlider::valueChanged, rig.window.get(), [&](int value) {
        values << value;
        boatsKeptUp = boatsKeptUp && bora->currentTime() == value;
    });
    QElapsedTimer wall;
    wall.start();
    rig.window->animOnOff();
    QCOMPARE(rig.window->animationTimer()->interval(), 30);
    QVERIFY(QTest::qWaitFor([&] { return slider->value() >= start + 90; }, 10000));
    rig.window->animOnOff();
    const qint64 elapsed = wall.elapsed();
    const int advanced = slider->value() - start;
    // Never faster than sixty times the wall clock.
    QVERIFY2(advanced <= elapsed * 60 / 1000 + 1, qPrintable(QStringLiteral("%1 s in %2 ms").arg(advanced).arg(elapsed)));
    // Small steps, each one placing the boats.
    QVERIFY(values.size() >= 10);
    int previous = start;
    for (const int v : values) {
        QVERIFY(v > previous && v - previous < 60);
        previous = v;
    }
    QVERIFY(boatsKeptUp);
}

void ReplayControlsTest::liveModeStaysAtTheNewestUntilTheUserMoves()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QSlider *slider = rig.window->slider();
    QAbstractButton *live = rig.window->liveButton();
    const int newest = slider->maximum();
    slider->setValue(slider->minimum() + 300);

    live->click();
    QVERIFY(rig.window->liveFollow()->isOn());
    QVERIFY(live->isChecked());
    QCOMPARE(slider->value(), newest);

    // Bora reports ten more minutes: the replay goes along to the new newest moment.
    const int lastBora = rig.ship(101)->fullTrack().last().time;
    rig.tracking.setPositions(101, RaceData::straight(42.75, 16.2, 0.0005, 0.0008, lastBora + 60, 60, 10));
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(slider->maximum(), lastBora + 600);
    QCOMPARE(slider->value(), slider->maximum());
    QCOMPARE(rig.ship(101)->currentTime(), slider->maximum());
    QVERIFY(rig.window->liveFollow()->isOn());
    // Whatever sets a wider range, the slider follows its newest end.
    rig.window->setTimeRange(slider->minimum(), slider->maximum() + 100);
    QCOMPARE(slider->value(), slider->maximum());

    // The user's own moves end it: the slider, the page keys, the play button.
    slider->triggerAction(QAbstractSlider::SliderPageStepSub);
    QVERIFY(!rig.window->liveFollow()->isOn());
    QVERIFY(!live->isChecked());
    live->click();
    QCOMPARE(slider->value(), slider->maximum());
    QTest::keyClick(rig.window->chart(), Qt::Key_PageDown);
    QVERIFY(!rig.window->liveFollow()->isOn());
    live->click();
    rig.window->animOnOff();
    QVERIFY(!rig.window->liveFollow()->isOn());
    QVERIFY(QTest::qWaitFor([&] { return !rig.window->animating(); }, 2000));
    // Switching it off by its button leaves the slider where it is.
    live->click();
    live->click();
    QVERIFY(!rig.window->liveFollow()->isOn());
    QCOMPARE(slider->value(), slider->maximum());
}

void ReplayControlsTest::liveModeFetchesWhenLoadingAutomatically()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    const int before = int(rig.tracking.requests(TrackingServerFixture::positionsPath).size());
    // Automatic loading off: live mode shows what is there and asks nothing.
    rig.window->liveButton()->click();
    QVERIFY(rig.settle());
    QCOMPARE(int(rig.tracking.requests(TrackingServerFixture::positionsPath).size()), before);

    rig.window->liveButton()->click();
    rig.window->setAutoLoad(true);
    rig.window->liveButton()->click();
    QVERIFY(rig.settle());
    QCOMPARE(int(rig.tracking.requests(TrackingServerFixture::positionsPath).size()), before + 4);
    rig.window->setAutoLoad(false);
}

void ReplayControlsTest::shiftAndControlPageKeysStepByMinutes()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QSlider *slider = rig.window->slider();
    Karte *chart = rig.window->chart();
    const int middle = slider->minimum() + 1800;
    slider->setValue(middle);
    QTest::keyClick(chart, Qt::Key_PageUp, Qt::ShiftModifier);
    QCOMPARE(slider->value(), middle + 60);
    QTest::keyClick(chart, Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(slider->value(), middle);
    QTest::keyClick(chart, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(slider->value(), middle + 600);
    QTest::keyClick(chart, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(slider->value(), middle);
    // The plain keys keep their one second.
    QTest::keyClick(chart, Qt::Key_PageUp);
    QCOMPARE(slider->value(), middle + 1);
    // Ten minutes back from near the start end at the start and stop the animation, as
    // the one-second step does.
    slider->setValue(slider->minimum() + 100);
    rig.window->animOnOff();
    QTest::keyClick(chart, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(slider->value(), slider->minimum());
    QVERIFY(!rig.window->animating());
}
