#include "tests/chart/TileGridTest.h"

#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/TileGrid.h"
#include "tests/chart/RecordingOwner.h"
#include "tests/support/LogCapture.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
TileGrid referenceGrid(const QSize &view)
{
    TileGrid grid;
    grid.setZoom(10);
    grid.setCentre(42.986766, 16.0203);
    grid.layout(view);
    return grid;
}
} // namespace

void TileGridTest::projectsTheReferencePosition()
{
    const TileGrid grid = referenceGrid(QSize(700, 500));
    const QPointF t = grid.tileCoordinates(42.986766, 16.0203);
    QCOMPARE(std::round(t.x() * 1000) / 1000, 557.569);
    QCOMPARE(std::round(t.y() * 1000) / 1000, 376.320);
    QCOMPARE(grid.tileOf(42.986766, 16.0203), QPoint(557, 376));

    // Inside the tile the latitude is interpolated linearly between its edges: 81.69 px,
    // where the Mercator value would be 81.80.
    const TileBounds b = grid.tileBounds(557, 376);
    const double linear = (42.986766 - b.north) * 256 / (b.south - b.north);
    QVERIFY(std::abs(linear - 81.69) < 0.005);
    QVERIFY(std::abs((t.y() - 376) * 256 - 81.80) < 0.005);
    QVERIFY(b.north > b.south);
    QCOMPARE(b.east - b.west, 360.0 / 1024);
    QCOMPARE(grid.tileYToLatitude(376), b.north);

    const QPoint pixel = *grid.pixelFor(16.0203, 42.986766);
    const QRect tile = grid.tileScreenRect(QPoint(557, 376));
    QCOMPARE(pixel.y() - tile.top(), 81);
    QCOMPARE(pixel.x() - tile.left(), int((16.0203 - b.west) * 256 / (b.east - b.west)));
    // The centre lies in the middle of the view.
    QVERIFY(std::abs(pixel.x() - 350) <= 1 && std::abs(pixel.y() - 250) <= 1);
}

void TileGridTest::layoutOfViewCentredOnTileEdge()
{
    TileGrid grid;
    grid.setZoom(10);
    // 557/1024 of the way round: exactly on the left edge of column 557.
    grid.setCentre(42.986766, 15.8203125);
    grid.layout(QSize(256, 256));
    QCOMPARE(grid.tileCoordinates(42.986766, 15.8203125).x(), 557.0);
    QCOMPARE(grid.tileRange().left(), 556);
    QCOMPARE(grid.tileRange().right(), 557);
    QCOMPARE(grid.tileOffset().x(), -128);
    QCOMPARE(grid.tileScreenRect(QPoint(557, 376)).left(), 128);
    QVERIFY(grid.tileOffset().y() <= 0 && grid.tileOffset().y() >= -255);
}

void TileGridTest::layoutWestOfTheDateLine_data()
{
    QTest::addColumn<double>("lng");
    QTest::newRow("in column -1") << -180.2;
    QTest::newRow("in column -3") << -182.7;
    QTest::newRow("in column -57") << -200.0;
}

void TileGridTest::layoutWestOfTheDateLine()
{
    // Panning west past -180 degrees gives negative tile columns. The layout must put the
    // centre where the projection puts it, and look like the same place one world east.
    QFETCH(double, lng);
    const QSize view(700, 500);
    TileGrid west;
    west.setZoom(10);
    west.setCentre(42.986766, lng);
    west.layout(view);
    const QPointF t = west.tileCoordinates(42.986766, lng);
    QVERIFY(t.x() < 0);

    const QPoint centreTile(int(std::floor(t.x())), int(std::floor(t.y())));
    QVERIFY(west.tileScreenRect(centreTile).contains(350, 250));
    const QPoint pixel = *west.pixelFor(lng, 42.986766);
    QVERIFY2(std::abs(pixel.x() - 350) <= 1 && std::abs(pixel.y() - 250) <= 1,
             qPrintable(QStringLiteral("centre drawn at %1, %2").arg(pixel.x()).arg(pixel.y())));
    QVERIFY(west.tileOffset().x() <= 0 && west.tileOffset().x() >= -255);

    TileGrid east;
    east.setZoom(10);
    east.setCentre(42.986766, lng + 360.0);
    east.layout(view);
    QCOMPARE(west.tileOffset(), east.tileOffset());
    QCOMPARE(west.tileRange().translated(1024, 0), east.tileRange());
}

void TileGridTest::purgeKeepsOneTileOfMargin()
{
    const TileGrid grid = referenceGrid(QSize(700, 500));
    const QRect r = grid.tileRange();
    const int midY = r.top();
    const int midX = r.left();
    QVERIFY(grid.keeps(QPoint(r.left() - 1, midY)));
    QVERIFY(!grid.keeps(QPoint(r.left() - 2, midY)));
    QVERIFY(grid.keeps(QPoint(r.right() + 1, midY)));
    QVERIFY(!grid.keeps(QPoint(r.right() + 2, midY)));
    QVERIFY(grid.keeps(QPoint(midX, r.top() - 1)));
    QVERIFY(!grid.keeps(QPoint(midX, r.top() - 2)));
    QVERIFY(grid.keeps(QPoint(midX, r.bottom() + 1)));
    QVERIFY(!grid.keeps(QPoint(midX, r.bottom() + 2)));
    QVERIFY(grid.keeps(QPoint(r.right() + 1, r.bottom() + 1)));
}

void TileGridTest::fetchOrderRunsColumnsFromTheRightIncludingExtraColumnAndRow()
{
    TileGrid grid;
    grid.setZoom(10);
    grid.setCentre(42.986766, 15.8203125);
    grid.layout(QSize(256, 256));
    const QRect r = grid.tileRange();
    QCOMPARE(r.width(), 2);
    QCOMPARE(r.height(), 2);

    QSet<QPoint> present;
    QList<QPoint> order;
    for (;;) {
        const QPoint next = grid.nextMissing([&](const QPoint &p) { return !present.contains(p); });
        if (next == QPoint(0, 0))
            break;
        order << next;
        present.insert(next);
    }
    // Three columns (one beyond the range), each top to bottom over three rows (one beyond).
    QList<QPoint> expected;
    for (int x = r.right() + 1; x >= r.left(); --x) {
        for (int y = r.top(); y <= r.bottom() + 1; ++y)
            expected << QPoint(x, y);
    }
    QCOMPARE(order, expected);
}

void TileGridTest::coordinatesAtPixelIsTheExactInverse()
{
    const QSize view(701, 499);
    const TileGrid grid = referenceGrid(view);
    const GeoPoint centre = grid.coordinatesAtPixel(350, 249, view);
    QVERIFY(std::abs(centre.lat - 42.986766) < 1e-9);
    QVERIFY(std::abs(centre.lng - 16.0203) < 1e-9);

    const QPointF c = grid.tileCoordinates(42.986766, 16.0203);
    for (const QPoint &p : {QPoint(0, 0), QPoint(700, 498), QPoint(123, 456), QPoint(-50, 900)}) {
        const GeoPoint g = grid.coordinatesAtPixel(p.x(), p.y(), view);
        const QPointF back = grid.tileCoordinates(g.lat, g.lng);
        QVERIFY(std::abs(back.x() - (c.x() - (350 - p.x()) / 256.0)) < 1e-9);
        QVERIFY(std::abs(back.y() - (c.y() - (249 - p.y()) / 256.0)) < 1e-9);
    }
}

void TileGridTest::unprojectablePositionsGiveOriginAndDiagnostic_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::newRow("north pole") << 90.0 << 16.0;
    QTest::newRow("beyond the pole") << 91.0 << 16.0;
    QTest::newRow("south pole") << -90.0 << 16.0;
    QTest::newRow("NaN latitude") << std::numeric_limits<double>::quiet_NaN() << 16.0;
    QTest::newRow("infinite longitude") << 43.0 << std::numeric_limits<double>::infinity();
    QTest::newRow("huge longitude") << 43.0 << 1e300;
    QTest::newRow("longitude past the int range in pixels") << 43.0 << 1e7;
}

void TileGridTest::unprojectablePositionsGiveOriginAndDiagnostic()
{
    QFETCH(double, lat);
    QFETCH(double, lng);
    RecordingOwner owner;
    Scheme scene;
    Karte chart(&scene, &owner, &owner.tiles);
    LogCapture log;
    QCOMPARE(chart.getPixelPosForCoordinates(lng, lat), QPoint(0, 0));
    QCOMPARE(log.count(QStringLiteral("Exception in Karte::getPixelPosForCoordinates")), 1);
}

void TileGridTest::worldPixelsShiftToTheSameViewPixels()
{
    // A track is projected once per zoom and shifted for every centre and view size; the
    // view pixels must be exactly those of the projection of each position.
    QRandomGenerator random(20261208);
    int compared = 0;
    for (int view = 0; view < 300; ++view) {
        TileGrid grid;
        grid.setZoom(random.bounded(0, 21));
        const double centreLat = random.bounded(170.0) - 85.0;
        const double centreLng = random.bounded(360.0) - 180.0;
        grid.setCentre(centreLat, centreLng);
        grid.layout(QSize(random.bounded(1, 2500), random.bounded(1, 1500)));
        for (int i = 0; i < 400; ++i) {
            // Half the positions near the view, the others anywhere in the world.
            const double spread = i % 2 ? 360.0 / std::ldexp(1.0, grid.zoom()) * 4 : 360.0;
            const double lat = std::clamp(centreLat + (random.generateDouble() - 0.5) * spread / 2, -85.0, 85.0);
            const double lng = std::clamp(centreLng + (random.generateDouble() - 0.5) * spread, -180.0, 180.0);
            const std::optional<QPoint> direct = grid.pixelFor(lng, lat);
            const std::optional<QPoint> shifted = grid.viewPixel(grid.worldPixelFor(lng, lat), lng, lat);
            QCOMPARE(shifted.has_value(), direct.has_value());
            if (direct) {
                QCOMPARE(*shifted, *direct);
                ++compared;
            }
        }
    }
    QVERIFY(compared > 100000);
}

void TileGridTest::worldPixelsAtPixelEdges()
{
    TileGrid grid;
    grid.setZoom(12);
    grid.setCentre(43.0, 16.0);
    grid.layout(QSize(800, 600));
    const double pixelDegrees = 360.0 / (std::ldexp(1.0, 12) * TileGrid::tileSize);
    const QRect range = grid.tileRange();
    QList<double> longitudes;
    // Tile and pixel edges left of, in and right of the view, and a hair either side.
    for (int tile : {range.left() - 3, range.left() - 1, range.left(), range.right(), range.right() + 2}) {
        const double edge = 360.0 / std::ldexp(1.0, 12) * tile - 180.0;
        for (int pixel : {0, 1, 128, 255})
            for (double hair : {0.0, 1e-12, -1e-12, 1e-9, -1e-9})
                longitudes << edge + pixel * pixelDegrees + hair;
    }
    for (const double lng : std::as_const(longitudes)) {
        for (const double lat : {42.9, 43.0, 43.2, 43.0000001}) {
            const WorldPixel world = grid.worldPixelFor(lng, lat);
            QCOMPARE(grid.viewPixel(world, lng, lat), grid.pixelFor(lng, lat));
        }
    }
    // The poles have no pixel either way.
    QCOMPARE(grid.viewPixel(grid.worldPixelFor(16.0, 90.0), 16.0, 90.0), std::optional<QPoint>());
    // A hair below the pole the row's edges meet at 90 degrees; still one answer either way
    // (and nothing undefined on the way, which the sanitizer build checks).
    const double nearPole = std::nextafter(90.0, 0.0);
    QCOMPARE(grid.viewPixel(grid.worldPixelFor(16.0, nearPole), 16.0, nearPole), grid.pixelFor(16.0, nearPole));
}

void TileGridTest::centreFarOutsideTheWorld()
{
    const QSize view(700, 500);
    TileGrid grid = referenceGrid(view);
    // Some 42 million tiles west of the world: still laid out, and a tile of the place the
    // view came from (a reply arriving late) lies far to the east, not somewhere in view.
    grid.setCentre(43.0, -1.4862e7);
    grid.layout(view);
    const QRect range = grid.tileRange();
    QVERIFY(range.left() < -42000000);
    QCOMPARE(grid.tileScreenRect(range.topLeft()).topLeft(), grid.tileOffset());
    const QRect old = grid.tileScreenRect(QPoint(557, 376));
    QVERIFY2(old.left() > view.width(), qPrintable(QString::number(old.left())));
    QCOMPARE(old.size(), QSize(256, 256));
    QVERIFY(!grid.pixelFor(16.0203, 42.986766) || grid.pixelFor(16.0203, 42.986766)->x() > view.width());
    // A track projected once for the zoom is shifted there too, without wrapping into view.
    for (const double lng : {16.0203, -179.9, 179.9}) {
        const WorldPixel world = grid.worldPixelFor(lng, 42.986766);
        QCOMPARE(grid.viewPixel(world, lng, 42.986766), grid.pixelFor(lng, 42.986766));
    }
    QVERIFY(!grid.keeps(QPoint(557, 376)));

    // Beyond any zoom's world the layout stays where it was.
    grid.setCentre(43.0, 1e12);
    grid.layout(view);
    QCOMPARE(grid.tileRange(), range);
    // The last zoom level still lays out its whole world.
    grid.setZoom(30);
    grid.setCentre(-85.0, 180.0);
    grid.layout(view);
    QVERIFY(grid.tileRange().right() >= (1 << 30));
    QVERIFY(grid.tileScreenRect(grid.tileRange().bottomRight()).right() >= view.width() - 1);
}
