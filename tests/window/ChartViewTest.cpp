#include "tests/window/ChartViewTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/TileGrid.h"
#include "store/Environment.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/FleetView.h"
#include "window/ViewMemory.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSlider>
#include <QTest>

namespace {
constexpr int von = 1712743200;
// A race of its own, off Valencia, with no gates: nothing of it is near the chart's start.
constexpr int farEvent = 900;
constexpr int farTask = 1;

void storeFarRace(bool withPositions)
{
    QVERIFY(SqlHelpers::exec({QStringLiteral("INSERT INTO regatta (id, event_id, task_id, name, von, bis, "
                                              "showcompletetracks) VALUES (50, %1, %2, 'Valencia Test', %3, %4, 0)")
                                  .arg(farEvent)
                                  .arg(farTask)
                                  .arg(von)
                                  .arg(von + 7200)}));
    for (int i = 0; i < 3; ++i) {
        RaceData::insertBoat({700 + i, farEvent, QStringLiteral("ILCA"), QString::number(i + 1),
                              QStringLiteral("Boot %1").arg(i)});
        if (withPositions)
            RaceData::insertTrack(700 + i, farEvent, RaceData::straight(39.40 + 0.01 * i, -0.30, 0.0004, 0.0006, von, 60, 60));
    }
}

QRect viewRect(const MainWindow &w)
{
    return QRect(QPoint(0, 0), w.chart()->viewport()->size());
}

bool shownBoatsInView(const WindowRig &rig)
{
    for (const Ship *s : rig.regatta->ships()) {
        if (s->show() && !viewRect(*rig.window).contains(s->pixelPos()))
            return false;
    }
    return true;
}
} // namespace

void ChartViewTest::init()
{
    TestEnvironment::reset();
}

void ChartViewTest::showFleetFitsTheBoatsSwitchedOn()
{
    WindowRig rig;
    storeFleet(von);
    // A boat switched off, far away: it does not count.
    RaceData::Boat away{103, 125, QStringLiteral("J/80"), QStringLiteral("3"), QStringLiteral("Levante")};
    away.show = false;
    RaceData::insertBoat(away);
    RaceData::insertTrack(103, 125, RaceData::straight(44.5, 13.0, 0.0, 0.001, von, 60, 61));
    rig.start();
    Karte *chart = rig.window->chart();
    chart->setCenter(40.0, 10.0);
    chart->setZoom(16);
    chart->refresh();
    QVERIFY(!rig.window->fleetView()->placed());

    QCOMPARE(rig.window->showFleetAction()->shortcut(), QKeySequence(Qt::Key_F));
    rig.window->showFleetAction()->trigger();
    QVERIFY(shownBoatsInView(rig));
    // The fleet spans a few miles: far closer than the boat switched off would allow.
    const int fitted = chart->zoom();
    QVERIFY(fitted >= 12 && fitted <= 16);
    QCOMPARE(rig.window->zoomLabel()->text(), QStringLiteral("Zoom:%1").arg(fitted));
    // At the next zoom some boat would be off the chart.
    TileGrid closer;
    closer.setZoom(fitted + 1);
    closer.setCentre(chart->center().lat, chart->center().lng);
    closer.layout(chart->viewport()->size());
    bool cut = false;
    for (const Ship *s : rig.regatta->ships()) {
        if (s->show())
            cut = cut || !viewRect(*rig.window).contains(*closer.pixelFor(s->currentPoint().position.lng,
                                                                            s->currentPoint().position.lat));
    }
    QVERIFY(fitted == Karte::maxZoom || cut);

    // The key does the same, from the chart.
    chart->setCenter(40.0, 10.0);
    chart->setZoom(7);
    chart->refresh();
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_F);
    QCOMPARE(chart->zoom(), fitted);
    QVERIFY(shownBoatsInView(rig));
}

void ChartViewTest::showCourseFitsEveryGate()
{
    WindowRig rig;
    storeFleet(von);
    rig.start(125, 281);
    QVERIFY(!rig.window->gates().isEmpty());
    rig.window->chart()->setZoom(16);
    rig.window->chart()->refresh();
    rig.window->showCourseAction()->trigger();
    const QRect view = viewRect(*rig.window);
    for (const GateItem *gate : rig.window->gates()) {
        QVERIFY(view.contains(gate->pixelEnd1()));
        QVERIFY(view.contains(gate->pixelEnd2()));
    }
    QVERIFY(rig.window->chart()->zoom() < 16);
}

void ChartViewTest::raceOutOfViewIsBroughtIntoViewOnce()
{
    WindowRig rig;
    storeFarRace(true);
    rig.start(farEvent, farTask);
    QCOMPARE(rig.regatta->ships().size(), 3);
    QVERIFY(shownBoatsInView(rig));
    QVERIFY(std::abs(rig.window->chart()->center().lat - 39.4) < 0.1);

    // Once only: the user looks elsewhere, and new placements leave the chart there.
    rig.window->chart()->setCenter(43.0, 16.0);
    rig.window->chart()->refresh();
    rig.window->getData();
    QVERIFY(rig.settle());
    rig.regatta->reloadShips();
    QCOMPARE(rig.window->chart()->center(), GeoPoint(43.0, 16.0));
}

void ChartViewTest::raceWithoutPositionsIsShownWhenTheyArrive()
{
    WindowRig rig;
    storeFarRace(false);
    for (int i = 0; i < 3; ++i)
        rig.tracking.setPositions(700 + i, RaceData::straight(39.40 + 0.01 * i, -0.30, 0.0004, 0.0006, von, 60, 30));
    rig.start(farEvent, farTask);
    // Nothing to show yet: the chart stays where it was.
    QCOMPARE(rig.window->chart()->center(), GeoPoint(42.986766, 16.0203));
    QVERIFY(rig.window->fleetView()->fitPending());
    // The answers come one by one; the chart is fitted to all of them, not to the first.
    rig.tracking.setShipDelay(701, 150);
    rig.tracking.setShipDelay(702, 300);
    rig.window->getData();
    QVERIFY(rig.settle());
    QVERIFY(!rig.window->fleetView()->fitPending());
    for (const int id : {700, 701, 702})
        QVERIFY(rig.ship(id)->pointCount() > 0);
    QVERIFY(shownBoatsInView(rig));
    QVERIFY(rig.window->chart()->zoom() < Karte::maxZoom);
}

void ChartViewTest::raceInViewIsLeftAsItIs()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QCOMPARE(rig.window->chart()->center(), GeoPoint(42.986766, 16.0203));
    QCOMPARE(rig.window->chart()->zoom(), 10);
}

void ChartViewTest::courseInViewWithoutBoatsShowsTheFleetUnlessTheUserChoseIt()
{
    const GeoPoint start(42.986766, 16.0203);
    auto storeDistantFleet = [] {
        for (int i = 0; i < 2; ++i) {
            RaceData::insertBoat({101 + i, 125, QStringLiteral("J/80"), QString::number(i + 1), QStringLiteral("Fern")});
            RaceData::insertTrack(101 + i, 125, RaceData::straight(44.5 + 0.01 * i, 13.0, 0.0005, 0.0008, von, 60, 30));
        }
    };
    // Whether a gate end lies on the chart at the view the window starts with.
    auto gateInView = [&start](const WindowRig &rig) {
        TileGrid grid;
        grid.setZoom(10);
        grid.setCentre(start.lat, start.lng);
        grid.layout(rig.window->chart()->viewport()->size());
        for (const GateItem *gate : rig.window->gates()) {
            for (const GeoPoint &end : {gate->geoEnd1(), gate->geoEnd2()}) {
                if (viewRect(*rig.window).contains(*grid.pixelFor(end.lng, end.lat)))
                    return true;
            }
        }
        return false;
    };
    {
        // Gates of the course are on the chart as it starts, the boats far north-west.
        WindowRig rig;
        storeDistantFleet();
        rig.start(125, 281);
        QVERIFY(gateInView(rig));
        QVERIFY(shownBoatsInView(rig));
        QVERIFY(std::abs(rig.window->chart()->center().lat - 44.5) < 0.1);
    }
    {
        // The user had left the race looking at the course: that view stays.
        WindowRig rig;
        storeDistantFleet();
        ViewMemory::save(125, 281, {start, 10});
        rig.start(125, 281);
        QCOMPARE(rig.window->chart()->center(), start);
        QVERIFY(gateInView(rig));
        QVERIFY(!rig.window->fleetView()->fitPending());
    }
}

void ChartViewTest::viewIsRememberedPerRace()
{
    const GeoPoint testView(42.72, 16.12);
    {
        WindowRig rig;
        storeFleet(von);
        rig.start(125, 279);
        Karte *chart = rig.window->chart();
        chart->setCenter(testView);
        chart->setZoom(13);
        chart->refresh();
        // Another race, looked at elsewhere, then the first one again.
        rig.window->raceMenu()->actions().at(3)->trigger();
        QCOMPARE(rig.regatta->taskId(), 280);
        chart->setCenter(42.9, 16.3);
        chart->setZoom(11);
        chart->refresh();
        rig.window->raceMenu()->actions().at(2)->trigger();
        QCOMPARE(rig.regatta->taskId(), 279);
        QCOMPARE(chart->center(), testView);
        QCOMPARE(chart->zoom(), 13);
        QCOMPARE(rig.window->zoomLabel()->text(), QStringLiteral("Zoom:13"));
        chart->setZoom(14);
        rig.window->close();
    }
    // The next start comes back to it, as it was when the window closed.
    {
        WindowRig again;
        storeFleet(von);
        again.start(125, 279);
        QCOMPARE(again.window->chart()->center(), testView);
        QCOMPARE(again.window->chart()->zoom(), 14);
    }
    // What no chart can show is not brought back; a zoom out of reach is brought into it.
    {
        std::unique_ptr<QSettings> settings = Environment::settingsStore();
        settings->setValue(ViewMemory::groupFor(125, 279) + QStringLiteral("/zoom"), 30);
        settings->setValue(ViewMemory::groupFor(125, 280) + QStringLiteral("/lat"), QStringLiteral("weit weg"));
    }
    QCOMPARE(ViewMemory::load(125, 279, Karte::minZoom, Karte::maxZoom)->zoom, 16);
    QVERIFY(!ViewMemory::load(125, 280, Karte::minZoom, Karte::maxZoom));
    QVERIFY(!ViewMemory::load(125, 281, Karte::minZoom, Karte::maxZoom));
}
