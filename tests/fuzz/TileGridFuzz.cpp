// The chart's projection and tile layout fed any doubles, zooms 0 to 30 and view sizes.
#include "chart/TileGrid.h"
#include "tests/fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
// Any bit pattern (NaN, infinities, subnormals, 1e300) or, as often, a value near the
// world, where the arithmetic has to be right and not only harmless.
double anyDouble(FuzzedDataProvider &input, double range)
{
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0: {
        const uint64_t bits = input.ConsumeIntegral<uint64_t>();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case 1:
        return input.ConsumeFloatingPointInRange(-range, range);
    default:
        return input.ConsumeFloatingPointInRange(-range * 1e6, range * 1e6);
    }
}

void checkLayoutCoversView(const TileGrid &grid, const QSize &view)
{
    const QRect range = grid.tileRange();
    const QPoint offset = grid.tileOffset();
    FUZZ_CHECK(offset.x() <= 0 && offset.x() >= -255);
    FUZZ_CHECK(offset.y() <= 0 && offset.y() >= -255);
    FUZZ_CHECK(grid.tileScreenRect(range.topLeft()).topLeft() == offset);
    // The tiles of the range reach past the right and bottom edge, and the last one still
    // lies inside the view.
    const QRect last = grid.tileScreenRect(range.bottomRight());
    FUZZ_CHECK(last.right() >= view.width() - 1 && last.left() <= view.width() - 1);
    FUZZ_CHECK(last.bottom() >= view.height() - 1 && last.top() <= view.height() - 1);
    FUZZ_CHECK(grid.keeps(range.topLeft()) && grid.keeps(range.bottomRight()));
    FUZZ_CHECK(grid.keeps(range.topLeft() - QPoint(1, 1)) && !grid.keeps(range.topLeft() - QPoint(2, 0)));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    TileGrid grid;
    const int zoom = input.ConsumeIntegralInRange(0, 30);
    grid.setZoom(zoom);
    const double lat = anyDouble(input, 85.0);
    const double lng = anyDouble(input, 180.0);
    grid.setCentre(lat, lng);
    // Up to a large screen; the fetch search below walks every tile of the layout.
    const QSize view(input.ConsumeIntegralInRange(1, 8192), input.ConsumeIntegralInRange(1, 8192));
    const QRect before = grid.tileRange();
    grid.layout(view);

    const QPointF t = grid.tileCoordinates(lat, lng);
    const bool projectable = std::abs(t.x()) <= double(1 << 30) && std::abs(t.y()) <= double(1 << 30);
    if (projectable)
        checkLayoutCoversView(grid, view);
    else
        FUZZ_CHECK(grid.tileRange() == before);

    // The view's centre pixel shows the centre, both ways, where the world is drawn.
    if (projectable && std::abs(lat) < 85.06 && std::abs(lng) <= 180.0) {
        const GeoPoint back = grid.coordinatesAtPixel(view.width() / 2, view.height() / 2, view);
        FUZZ_CHECK(std::abs(back.lng - lng) <= 1e-6 * (1.0 + std::abs(lng)));
        FUZZ_CHECK(std::abs(back.lat - lat) <= 1e-6 * (1.0 + std::abs(lat)));
        if (const std::optional<QPoint> p = grid.pixelFor(lng, lat))
            FUZZ_CHECK(std::abs(p->x() - view.width() / 2) <= 2);
    }

    // Any other position, any tile index: no overflow, no crash. A position projected once
    // for the zoom and shifted to the view lands on the pixel projected directly.
    const double otherLat = anyDouble(input, 90.0);
    const double otherLng = anyDouble(input, 360.0);
    const std::optional<QPoint> direct = grid.pixelFor(otherLng, otherLat);
    FUZZ_CHECK(grid.viewPixel(grid.worldPixelFor(otherLng, otherLat), otherLng, otherLat) == direct);
    if (projectable)
        FUZZ_CHECK(grid.viewPixel(grid.worldPixelFor(lng, lat), lng, lat) == grid.pixelFor(lng, lat));
    (void)grid.tileOf(otherLat, otherLng);
    QPoint tile = grid.tileRange().topLeft() + QPoint(input.ConsumeIntegralInRange(-3, 40), input.ConsumeIntegralInRange(-3, 40));
    if (input.ConsumeBool())
        tile = QPoint(input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>());
    const QRect r = grid.tileScreenRect(tile);
    FUZZ_CHECK(r.width() == TileGrid::tileSize && r.height() == TileGrid::tileSize);
    (void)grid.keeps(tile);
    (void)grid.inWorld(tile);
    const TileBounds b = grid.tileBounds(tile.x(), tile.y());
    FUZZ_CHECK(!(b.north < b.south));
    (void)grid.coordinatesAtPixel(input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(), view);
    (void)grid.tileYToLatitude(anyDouble(input, 1024.0));

    // The fetch search looks at every tile of the layout plus a column and a row, and
    // finds a missing one there.
    const QRect range = grid.tileRange();
    qint64 looked = 0;
    (void)grid.nextMissing([&](const QPoint &) {
        ++looked;
        return false;
    });
    FUZZ_CHECK(looked == (qint64(range.width()) + 1) * (qint64(range.height()) + 1));
    const bool searched = tile.x() >= range.left() && qint64(tile.x()) <= qint64(range.right()) + 1
                          && tile.y() >= range.top() && qint64(tile.y()) <= qint64(range.bottom()) + 1;
    const QPoint found = grid.nextMissing([&](const QPoint &p) { return p == tile; });
    FUZZ_CHECK(found == (searched ? tile : QPoint(0, 0)));
    return 0;
}
