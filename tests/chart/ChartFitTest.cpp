#include "tests/chart/ChartFitTest.h"

#include "chart/ChartFit.h"
#include "chart/TileGrid.h"

#include <QTest>

namespace {
// Where the places land on a view of that size at that centre and zoom.
QList<QPoint> pixelsAt(const QList<GeoPoint> &places, const GeoPoint &centre, int zoom, const QSize &view)
{
    TileGrid grid;
    grid.setZoom(zoom);
    grid.setCentre(centre.lat, centre.lng);
    grid.layout(view);
    QList<QPoint> pixels;
    for (const GeoPoint &p : places)
        pixels << grid.pixelFor(p.lng, p.lat).value_or(QPoint(-100000, -100000));
    return pixels;
}

bool allWithin(const QList<QPoint> &pixels, const QRect &area)
{
    for (const QPoint &p : pixels) {
        if (!area.contains(p))
            return false;
    }
    return true;
}
} // namespace

void ChartFitTest::spreadFleetGetsTheLargestZoomThatHoldsIt()
{
    // A fleet strung out over some miles of the Adriatic, wider than high.
    const QList<GeoPoint> fleet = {{43.02, 16.05}, {42.95, 16.31}, {43.10, 16.18}, {42.99, 16.44}};
    const QSize view(738, 500);
    const std::optional<ChartFit::View> fit = ChartFit::fit(fleet, view, 6, 16);
    QVERIFY(fit);
    QVERIFY(fit->zoom > 6 && fit->zoom < 16);
    const QRect inner(ChartFit::marginPixels, ChartFit::marginPixels, view.width() - 2 * ChartFit::marginPixels,
                      view.height() - 2 * ChartFit::marginPixels);
    QVERIFY(allWithin(pixelsAt(fleet, fit->centre, fit->zoom, view), inner));
    // One step closer and some boat is cut off, even without the margin.
    QVERIFY(!allWithin(pixelsAt(fleet, fit->centre, fit->zoom + 1, view), QRect(QPoint(0, 0), view)));
    // Centred: the westmost and eastmost boats are as far from their edges.
    const QList<QPoint> at = pixelsAt(fleet, fit->centre, fit->zoom, view);
    QVERIFY(std::abs(at[0].x() - (view.width() - at[3].x())) <= 2);
}

void ChartFitTest::singlePlaceAndTooWideSpreadStayInTheZoomRange()
{
    const GeoPoint alone(43.5, 16.4);
    const std::optional<ChartFit::View> close = ChartFit::fit({alone}, QSize(400, 300), 6, 16);
    QVERIFY(close);
    QCOMPARE(close->zoom, 16);
    QVERIFY(std::abs(close->centre.lat - alone.lat) < 1e-9 && std::abs(close->centre.lng - alone.lng) < 1e-9);

    // From the Adriatic to the Baltic does not fit a small view even at the smallest zoom.
    const std::optional<ChartFit::View> wide = ChartFit::fit({{42.0, 16.0}, {58.0, 20.0}}, QSize(200, 150), 6, 16);
    QVERIFY(wide);
    QCOMPARE(wide->zoom, 6);

    // A tiny view still gets a zoom for a spread that fits it without the full margin.
    QVERIFY(ChartFit::fit({{43.0, 16.0}, {43.001, 16.001}}, QSize(60, 60), 6, 16));
}

void ChartFitTest::nothingToFitGivesNoView()
{
    QVERIFY(!ChartFit::fit({}, QSize(400, 300), 6, 16));
    QVERIFY(!ChartFit::fit({{43.0, 16.0}}, QSize(0, 300), 6, 16));
    // Places without a map position (a pole, NaN) are no places.
    QVERIFY(!ChartFit::fit({{90.0, 16.0}, {qQNaN(), 16.0}}, QSize(400, 300), 6, 16));
    const std::optional<ChartFit::View> one = ChartFit::fit({{90.0, 16.0}, {43.0, 16.0}}, QSize(400, 300), 6, 16);
    QVERIFY(one && std::abs(one->centre.lat - 43.0) < 1e-9);

    QVERIFY(ChartFit::anyInside({QPoint(-5, 5), QPoint(399, 299)}, QSize(400, 300)));
    QVERIFY(!ChartFit::anyInside({QPoint(-5, 5), QPoint(400, 10), QPoint(10, 300)}, QSize(400, 300)));
    QVERIFY(!ChartFit::anyInside({}, QSize(400, 300)));
}
