#include "tests/chart/KarteInputTest.h"

#include "chart/ScaleBar.h"
#include "tests/chart/ChartRig.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace {
void mouse(Karte &chart, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(chart.mapToGlobal(pos)), button, buttons, modifiers);
    QApplication::sendEvent(chart.viewport(), &event);
}

void wheel(Karte &chart, const QPoint &angleDelta, const QPoint &pixelDelta = QPoint())
{
    const QPointF pos(100, 100);
    QWheelEvent event(pos, chart.mapToGlobal(pos), pixelDelta, angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart.viewport(), &event);
}

void wheel(Karte &chart, int delta)
{
    wheel(chart, QPoint(0, delta));
}

bool near(const QColor &a, const QColor &b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

QPointF centreTile(const Karte &chart)
{
    const GeoPoint c = chart.center();
    return chart.grid().tileCoordinates(c.lat, c.lng);
}
} // namespace

void KarteInputTest::init()
{
    TestEnvironment::reset();
}

void KarteInputTest::zoomStaysWithinSixToSixteen()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    rig.chart->setZoom(16);
    rig.chart->refresh();
    int refreshes = rig.owner.shipRefreshes;
    QTest::keyClick(rig.chart.get(), Qt::Key_Plus);
    QCOMPARE(rig.chart->zoom(), 16);
    QCOMPARE(rig.owner.zooms, QList<int>{16});
    QCOMPARE(rig.owner.shipRefreshes, refreshes);

    QTest::keyClick(rig.chart.get(), Qt::Key_Minus);
    QCOMPARE(rig.chart->zoom(), 15);
    QCOMPARE(rig.owner.shipRefreshes, refreshes + 1);

    rig.chart->setZoom(6);
    refreshes = rig.owner.shipRefreshes;
    wheel(*rig.chart, -120);
    QCOMPARE(rig.chart->zoom(), 6);
    QCOMPARE(rig.owner.zooms.last(), 6);
    QCOMPARE(rig.owner.shipRefreshes, refreshes);
    wheel(*rig.chart, 120);
    QCOMPARE(rig.chart->zoom(), 7);
    QCOMPARE(rig.owner.zooms.last(), 7);
    // Zooming keeps the geographic centre.
    QCOMPARE(rig.chart->center().lat, 42.986766);

    // A sideways wheel and a touchpad event with pixels only are no zoom steps at all.
    const QList<int> reported = rig.owner.zooms;
    refreshes = rig.owner.shipRefreshes;
    wheel(*rig.chart, QPoint(-120, 0));
    wheel(*rig.chart, QPoint(120, 0));
    wheel(*rig.chart, QPoint(), QPoint(0, -30));
    wheel(*rig.chart, QPoint(), QPoint(0, 30));
    QCOMPARE(rig.chart->zoom(), 7);
    QCOMPARE(rig.owner.zooms, reported);
    QCOMPARE(rig.owner.shipRefreshes, refreshes);
    // A diagonal wheel zooms by its vertical part.
    wheel(*rig.chart, QPoint(-120, 120));
    QCOMPARE(rig.chart->zoom(), 8);
}

void KarteInputTest::arrowKeysPanByOneTileAndPageKeysReachTheOwner()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    const QPointF start = centreTile(*rig.chart);
    QTest::keyClick(rig.chart.get(), Qt::Key_Left);
    QVERIFY(std::abs(centreTile(*rig.chart).x() - (start.x() - 1)) < 1e-9);
    QTest::keyClick(rig.chart.get(), Qt::Key_Right);
    QTest::keyClick(rig.chart.get(), Qt::Key_Up);
    QVERIFY(std::abs(centreTile(*rig.chart).x() - start.x()) < 1e-9);
    QVERIFY(std::abs(centreTile(*rig.chart).y() - (start.y() - 1)) < 1e-9);
    QTest::keyClick(rig.chart.get(), Qt::Key_Down);
    QVERIFY(std::abs(centreTile(*rig.chart).y() - start.y()) < 1e-9);

    rig.owner.xy.clear();
    QTest::keyClick(rig.chart.get(), Qt::Key_PageUp);
    QTest::keyClick(rig.chart.get(), Qt::Key_PageDown);
    QCOMPARE(rig.owner.frames, (QList<int>{1, -1}));
    // Every key, bound or not, reports the pointer at its last place.
    QTest::keyClick(rig.chart.get(), Qt::Key_A);
    QCOMPARE(rig.owner.xy.size(), 3);
}

void KarteInputTest::pressAndReleaseIsAClickAnyMoveIsADrag()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    Karte &chart = *rig.chart;
    mouse(chart, QEvent::MouseButtonPress, QPoint(40, 50), Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(40, 50), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(rig.owner.clicks, QList<QPoint>{QPoint(40, 50)});

    const QPointF start = centreTile(chart);
    mouse(chart, QEvent::MouseButtonPress, QPoint(40, 50), Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseMove, QPoint(41, 50), Qt::NoButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(41, 50), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(rig.owner.clicks.size(), 1);
    // Dragging right by one pixel moves the centre west by 1/256 of a tile.
    QVERIFY(std::abs(centreTile(chart).x() - (start.x() - 1.0 / 256)) < 1e-9);

    // The next press and release is a click again.
    mouse(chart, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(rig.owner.clicks.size(), 2);
}

void KarteInputTest::otherButtonsNeitherMoveNorReport()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    Karte &chart = *rig.chart;
    mouse(chart, QEvent::MouseButtonPress, QPoint(40, 50), Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(40, 50), Qt::LeftButton, Qt::NoButton);
    const QPointF start = centreTile(chart);
    rig.owner.xy.clear();

    mouse(chart, QEvent::MouseButtonPress, QPoint(100, 100), Qt::RightButton, Qt::RightButton);
    mouse(chart, QEvent::MouseMove, QPoint(150, 120), Qt::NoButton, Qt::RightButton);
    mouse(chart, QEvent::MouseMove, QPoint(160, 120), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(centreTile(chart), start);
    QVERIFY(rig.owner.xy.isEmpty());

    // The right press left the drag start where the left press put it.
    mouse(chart, QEvent::MouseMove, QPoint(41, 50), Qt::NoButton, Qt::LeftButton);
    QVERIFY(std::abs(centreTile(chart).x() - (start.x() - 1.0 / 256)) < 1e-9);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(41, 50), Qt::LeftButton, Qt::NoButton);

    // Nor does a right or middle click pick a boat; the left one still does afterwards.
    rig.owner.clicks.clear();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        mouse(chart, QEvent::MouseButtonPress, QPoint(70, 80), button, button);
        mouse(chart, QEvent::MouseButtonRelease, QPoint(70, 80), button, Qt::NoButton);
    }
    QVERIFY(rig.owner.clicks.isEmpty());
    mouse(chart, QEvent::MouseButtonPress, QPoint(70, 80), Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseButtonRelease, QPoint(70, 80), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(rig.owner.clicks, QList<QPoint>{QPoint(70, 80)});
}

void KarteInputTest::pointerMovesAreReported()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    mouse(*rig.chart, QEvent::MouseMove, QPoint(150, 100), Qt::NoButton, Qt::NoButton);
    QCOMPARE(rig.owner.xy.size(), 1);
    const RecordingOwner::XYStatus s = rig.owner.xy.first();
    QCOMPARE(s.x, 150);
    QCOMPARE(s.y, 100);
    QCOMPARE(s.zoom, 10);
    const GeoPoint expected = rig.chart->coordinatesAtPixel(150, 100);
    QCOMPARE(s.lat, expected.lat);
    QCOMPARE(s.lng, expected.lng);
    QVERIFY(std::abs(s.lat - 42.986766) < 1e-9);
}

void KarteInputTest::panningDuringAnimationStopsFollowing()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    rig.chart->panBy(QPoint(5, 5));
    QCOMPARE(rig.owner.clearFollowCalls, 0);
    rig.owner.animatingFlag = true;
    rig.chart->panBy(QPoint(5, 5));
    QCOMPARE(rig.owner.clearFollowCalls, 1);
}

void KarteInputTest::scaleBarAtReferencePosition()
{
    QCOMPARE(ScaleBar::label(10), QStringLiteral("10 sm"));
    QCOMPARE(ScaleBar::label(12), QStringLiteral("2,5 sm"));
    QCOMPARE(ScaleBar::width(10, 42.986766), 152);

    ChartRig rig(QSize(400, 300), false, 10, GeoPoint(42.986766, 16.0203));
    rig.start();
    QVERIFY(rig.settle());
    const QImage shot = viewPixels(*rig.chart);
    const int w = 400;
    const int h = 300;
    const QColor black(Qt::black);
    const QColor grey(192, 192, 192);
    // Outline on the outermost rows and columns, light fill inside, map around it.
    QVERIFY(near(shot.pixelColor(w - 6, h - 15), black));
    QVERIFY(near(shot.pixelColor(w - 5 - 152, h - 15), black));
    QVERIFY(near(shot.pixelColor(w - 5 - 150, h - 15), QColor(240, 240, 240)));
    QVERIFY(near(shot.pixelColor(w - 5 - 153, h - 15), grey));
    QVERIFY(near(shot.pixelColor(w - 5, h - 15), grey));
    QVERIFY(near(shot.pixelColor(w - 100, h - 25), black));
    QVERIFY(near(shot.pixelColor(w - 100, h - 6), black));
    QVERIFY(near(shot.pixelColor(w - 100, h - 26), grey));
    QVERIFY(near(shot.pixelColor(w - 100, h - 5), grey));
    // The label is drawn inside: some dark pixels in the middle of the bar.
    int dark = 0;
    for (int x = w - 5 - 140; x < w - 15; ++x) {
        for (int y = h - 22; y < h - 8; ++y)
            dark += shot.pixelColor(x, y).value() < 100 ? 1 : 0;
    }
    QVERIFY(dark > 20);
}

void KarteInputTest::zeroSizeViewStopsBeforeTileWork()
{
    ChartRig rig(QSize(300, 200), false);
    rig.start();
    QVERIFY(rig.settle());
    const QRect range = rig.chart->grid().tileRange();
    const int refreshes = rig.owner.shipRefreshes;
    rig.chart->resize(0, 0);
    rig.chart->refresh();
    QCOMPARE(rig.scene.sceneRect(), QRectF(0, 0, 0, 0));
    QCOMPARE(rig.chart->grid().tileRange(), range);
    QVERIFY(!rig.chart->fetchPassRunning());
    QCOMPARE(rig.owner.shipRefreshes, refreshes);
}
