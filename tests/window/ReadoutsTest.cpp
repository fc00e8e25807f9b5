#include "tests/window/ReadoutsTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeViewModel.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/ReadoutTips.h"
#include "window/SettingsPage.h"
#include "window/StaleMarking.h"

#include <QDateTime>
#include <QHelpEvent>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItem>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

namespace {
constexpr int von = 1712743200;

QString localTime(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// What the pointer resting on a widget brings up.
QString tipAt(QWidget *viewport, const QPoint &pos)
{
    QHelpEvent help(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
    QCoreApplication::sendEvent(viewport, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// A view pixel at least `clear` pixels from every boat and every gate line.
std::optional<QPoint> emptySpot(const WindowRig &rig, int clear)
{
    const QSize size = rig.window->chart()->viewport()->size();
    const ReadoutTips *tips = rig.window->readoutTips();
    for (int y = 5; y < size.height(); y += 7) {
        for (int x = 5; x < size.width(); x += 7) {
            bool free = true;
            for (int dy = -clear; free && dy <= clear; dy += clear)
                for (int dx = -clear; free && dx <= clear; dx += clear)
                    free = tips->chartTextAt(QPoint(x + dx, y + dy)).isEmpty();
            if (free)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}
} // namespace

void ReadoutsTest::init()
{
    TestEnvironment::reset();
}

void ReadoutsTest::boatAndGateReadoutsOnTheChart()
{
    WindowRig rig;
    storeFleet(von);
    rig.start(125, 281);
    const int t = von + 600 + 30;
    rig.window->setTimeValue(t);
    const Ship *bora = rig.ship(101);
    const ReadoutTips *tips = rig.window->readoutTips();

    const QString boat = tips->chartTextAt(bora->pixelPos() + QPoint(3, -2));
    QVERIFY2(boat.startsWith(QStringLiteral("Nr. 10 – Bora\nKlasse: J/80\nTeam: Team\nSkipper: Skipper\nFahrt: ")),
             qPrintable(boat));
    QVERIFY(boat.contains(QStringLiteral(" kn   Kurs: ")));
    QVERIFY(boat.endsWith(QStringLiteral("Letzte Position: %1 (vor 30 s)").arg(localTime(von + 600))));

    // A gate in view, away from the boats, tells its name.
    const QRect view(QPoint(0, 0), rig.window->chart()->viewport()->size());
    const GateItem *named = nullptr;
    QPoint onGate;
    for (const GateItem *gate : rig.window->gates()) {
        const QPoint middle = (gate->pixelEnd1() + gate->pixelEnd2()) / 2;
        if (view.contains(middle) && !tips->boatAt(middle) && tips->gateAt(middle) == gate) {
            named = gate;
            onGate = middle;
            break;
        }
    }
    QVERIFY(named);
    QCOMPARE(tips->chartTextAt(onGate), named->name());

    // The pointer resting there brings the same up; on open water nothing.
    QWidget *viewport = rig.window->chart()->viewport();
    QCOMPARE(tipAt(viewport, bora->pixelPos()), tips->chartTextAt(bora->pixelPos()));
    QCOMPARE(tipAt(viewport, onGate), named->name());
    const std::optional<QPoint> water = emptySpot(rig, 20);
    QVERIFY(water);
    tipAt(viewport, *water);
    QTRY_VERIFY(!QToolTip::isVisible());

    // A boat switched off has nothing to say.
    rig.window->shiponoff(rig.item(101), false);
    QVERIFY(!tips->chartTextAt(bora->pixelPos()).startsWith(QStringLiteral("Nr. 10")));
}

void ReadoutsTest::participantListTellsTheAgeOfTheLastReport()
{
    WindowRig rig;
    storeFleet(von);
    rig.start(125, 281);
    const int lastBora = rig.ship(101)->fullTrack().last().time;
    rig.tracking.setPositions(101, RaceData::straight(42.75, 16.2, 0.0005, 0.0008, lastBora + 60, 60, 3));
    rig.clock.pin(lastBora + 180 + 7 * 60);
    rig.window->getData();
    QVERIFY(rig.settle());
    rig.window->toggleLegende();

    const Ship *bora = rig.ship(101);
    QStandardItem *cell = bora->lastReportCell();
    // The cell itself keeps its date and time.
    QCOMPARE(cell->text(), QDateTime::fromSecsSinceEpoch(lastBora + 180)
                               .toLocalTime()
                               .toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    const QString text = rig.window->readoutTips()->listText(cell->index());
    QVERIFY2(text.startsWith(QStringLiteral("Nr. 10 – Bora")), qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral("\nLetzte Meldung vor 7 min")));
    // Other cells of the row tell the boat without the report's age; class rows nothing.
    QVERIFY(!rig.window->readoutTips()->listText(cell->index().siblingAtColumn(3)).contains(QStringLiteral("Meldung")));
    QVERIFY(rig.window->readoutTips()->listText(cell->index().parent()).isEmpty());

    QTreeView *tree = rig.window->participantList()->treeView();
    tree->scrollTo(cell->index());
    QCOMPARE(tipAt(tree->viewport(), tree->visualRect(cell->index()).center()), text);
}

void ReadoutsTest::oldPositionsAreFadedWithTheirAge()
{
    WindowRig rig;
    storeFleet(von);
    // Levante's tracker gives up after ten minutes.
    RaceData::insertBoat({103, 125, QStringLiteral("J/80"), QStringLiteral("3"), QStringLiteral("Levante")});
    RaceData::insertTrack(103, 125, RaceData::straight(42.74, 16.10, 0.0005, 0.0008, von, 60, 11));
    rig.start(125, 281);
    const int end = rig.window->slider()->maximum();
    QCOMPARE(rig.window->slider()->value(), end);
    const Ship *levante = rig.ship(103);
    QVERIFY(levante->isStale());
    QCOMPARE(levante->staleLabel(), QStringLiteral("vor %1 min").arg((end - (von + 600)) / 60));
    for (const int id : {101, 102, 201, 202})
        QVERIFY(!rig.ship(id)->isStale());

    // Back in the race it is fresh; nine minutes after its last fix still, eleven not.
    rig.window->setTimeValue(von + 300);
    QVERIFY(!levante->isStale());
    rig.window->setTimeValue(von + 600 + 9 * 60);
    QVERIFY(!levante->isStale());
    rig.window->setTimeValue(von + 600 + 11 * 60);
    QCOMPARE(levante->staleLabel(), QStringLiteral("vor 11 min"));

    // A longer limit, set on the settings page, takes effect at once and is kept.
    QSpinBox *limit = rig.window->settingsPage()->staleMinutesBox();
    QCOMPARE(limit->value(), 10);
    limit->setValue(60);
    QVERIFY(!levante->isStale());
    QSpinBox box;
    const StaleMarking next(&box);
    QCOMPARE(next.limitMinutes(), 60);
    QCOMPARE(box.value(), 60);
}
