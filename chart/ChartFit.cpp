#include "chart/ChartFit.h"

#include "chart/TileGrid.h"

#include <algorithm>
#include <cmath>

namespace {
bool allInside(const TileGrid &grid, const QList<GeoPoint> &places, const QRect &area)
{
    for (const GeoPoint &p : places) {
        const std::optional<QPoint> pixel = grid.pixelFor(p.lng, p.lat);
        if (!pixel || !area.contains(*pixel))
            return false;
    }
    return true;
}
} // namespace

std::optional<ChartFit::View> ChartFit::fit(const QList<GeoPoint> &places, const QSize &view, int minZoom,
                                            int maxZoom, int margin)
{
    QList<GeoPoint> usable;
    for (const GeoPoint &p : places) {
        if (std::isfinite(p.lat) && std::isfinite(p.lng) && std::abs(p.lat) < 85.0)
            usable << p;
    }
    if (usable.isEmpty() || view.isEmpty())
        return std::nullopt;

    // The middle of the extent in Mercator terms, which is the middle on the screen.
    TileGrid grid;
    grid.setZoom(maxZoom);
    double left = 0, right = 0, top = 0, bottom = 0;
    for (int i = 0; i < usable.size(); ++i) {
        const QPointF t = grid.tileCoordinates(usable[i].lat, usable[i].lng);
        left = i == 0 ? t.x() : std::min(left, t.x());
        right = i == 0 ? t.x() : std::max(right, t.x());
        top = i == 0 ? t.y() : std::min(top, t.y());
        bottom = i == 0 ? t.y() : std::max(bottom, t.y());
    }
    const GeoPoint centre(grid.tileYToLatitude((top + bottom) / 2.0), grid.tileXToLongitude((left + right) / 2.0));

    // A small view keeps at least half of itself for the places.
    const int m = std::max(0, std::min({margin, view.width() / 4, view.height() / 4}));
    const QRect area(m, m, view.width() - 2 * m, view.height() - 2 * m);
    for (int z = maxZoom; z >= minZoom; --z) {
        grid.setZoom(z);
        grid.setCentre(centre.lat, centre.lng);
        grid.layout(view);
        if (allInside(grid, usable, area))
            return View{centre, z};
    }
    return View{centre, minZoom};
}

bool ChartFit::anyInside(const QList<QPoint> &pixels, const QSize &view)
{
    const QRect area(QPoint(0, 0), view);
    return std::any_of(pixels.begin(), pixels.end(), [&area](const QPoint &p) { return area.contains(p); });
}
