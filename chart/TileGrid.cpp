#include "chart/TileGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

using Geo::degreesPerRadian;
using Geo::pi;

namespace {
// The layout takes a centre at most this many tiles from tile 0 in either direction: the
// world at zoom 30 and as far again to the west and north. The tile numbers of the range,
// its margin and the pixels of its tiles then stay well inside the int range.
constexpr double farthestCentreTile = double(1 << 30);
// Pixel edges of tiles far from the layout are held here; the view is never that large, and
// a rectangle there can still be built and moved without overflow.
constexpr qint64 farthestPixel = qint64(1) << 30;

// Whether a value can be truncated to int without undefined behaviour.
bool fitsInt(double v)
{
    return std::isfinite(v) && v > double(std::numeric_limits<int>::min())
           && v < double(std::numeric_limits<int>::max());
}

// Truncation toward zero, held at the ends of the int range; NaN gives 0.
int truncated(double v)
{
    if (std::isnan(v))
        return 0;
    if (fitsInt(v))
        return int(v);
    return v < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
}
} // namespace

void TileGrid::setCentre(double lat, double lng)
{
    m_centreLat = lat;
    m_centreLng = lng;
}

void TileGrid::setZoom(int zoom)
{
    m_zoom = zoom;
    m_worldTiles = std::ldexp(1.0, zoom);
    m_rowEdges.clear();
}

double TileGrid::rowNorth(int y) const
{
    const qint64 slot = qint64(y) - m_rowEdgesFirst;
    if (slot >= 0 && slot < qint64(m_rowEdges.size())) {
        double &edge = m_rowEdges[size_t(slot)];
        if (std::isnan(edge))
            edge = std::atan(std::sinh(pi - 2.0 * pi * y / m_worldTiles)) * degreesPerRadian;
        return edge;
    }
    return std::atan(std::sinh(pi - 2.0 * pi * y / m_worldTiles)) * degreesPerRadian;
}

QPointF TileGrid::tileCoordinates(double lat, double lng) const
{
    const double phi = lat / degreesPerRadian;
    const double tx = (lng + 180.0) / 360.0 * m_worldTiles;
    const double ty = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / pi) / 2.0 * m_worldTiles;
    return {tx, ty};
}

QPoint TileGrid::tileOf(double lat, double lng) const
{
    const QPointF t = tileCoordinates(lat, lng);
    return {truncated(t.x()), truncated(t.y())};
}

double TileGrid::tileXToLongitude(double tx) const
{
    return tx / m_worldTiles * 360.0 - 180.0;
}

double TileGrid::tileYToLatitude(double ty) const
{
    const double n = pi - 2.0 * pi * ty / m_worldTiles;
    return std::atan(0.5 * (std::exp(n) - std::exp(-n))) * degreesPerRadian;
}

TileBounds TileGrid::tileBounds(int x, int y) const
{
    TileBounds b;
    b.north = std::atan(std::sinh(pi - 2.0 * pi * y / m_worldTiles)) * degreesPerRadian;
    b.south = std::atan(std::sinh(pi - 2.0 * pi * (double(y) + 1) / m_worldTiles)) * degreesPerRadian;
    b.west = 360.0 / m_worldTiles * x - 180.0;
    b.east = b.west + 360.0 / m_worldTiles;
    return b;
}

std::optional<QPoint> TileGrid::pixelFor(double lng, double lat) const
{
    // The poles and beyond have no Mercator image at all.
    if (!(std::abs(lat) < 90.0) || !std::isfinite(lng))
        return std::nullopt;
    const QPointF t = tileCoordinates(lat, lng);
    if (!fitsInt(t.x()) || !fitsInt(t.y()))
        return std::nullopt;
    const int tx = int(t.x());
    const int ty = int(t.y());
    // The same edges as tileBounds(tx, ty), the north and south ones from the row cache.
    const double west = 360.0 / m_worldTiles * tx - 180.0;
    const double east = west + 360.0 / m_worldTiles;
    const double north = rowNorth(ty);
    const double south = rowNorth(ty + 1);
    const double x = (lng - west) * tileSize / (east - west) + (double(tx) - m_tileRange.left()) * tileSize;
    const double y = (lat - north) * tileSize / (south - north) + (double(ty) - m_tileRange.top()) * tileSize;
    if (!fitsInt(x) || !fitsInt(y))
        return std::nullopt;
    const qint64 px = qint64(int(x)) + m_tileOffset.x();
    const qint64 py = qint64(int(y)) + m_tileOffset.y();
    if (!fitsInt(double(px)) || !fitsInt(double(py)))
        return std::nullopt;
    return QPoint(int(px), int(py));
}

namespace {
// Within a tile, the position's offset in pixels is split into its whole pixel and flags. The
// view pixel truncates the sum of that offset and a whole number of tiles: for tiles right of
// (or below) the view's first one that is the offset's floor, for tiles left of (above) it its
// ceiling. A fraction this close to a whole pixel could round the other way in that sum.
qint32 packAxis(int tile, double offset)
{
    const double whole = std::floor(offset);
    // Outside the tile, or no number at all (a row so near the pole that its edges meet):
    // nothing to pack, and converting it would be undefined.
    if (tile < 0 || !(whole >= 0 && whole < TileGrid::tileSize))
        return WorldPixel::inFull;
    const double fraction = offset - whole;
    qint32 flags = fraction == 0.0 ? WorldPixel::onEdge : 0;
    if (fraction != 0.0 && (fraction < 1e-6 || fraction > 1.0 - 1e-6))
        flags |= WorldPixel::inFull;
    return qint32((qint64(tile) * TileGrid::tileSize + qint64(whole)) * 4) | flags;
}

std::optional<int> unpackAxis(qint32 packed, int firstTile, int offset)
{
    if (packed & WorldPixel::inFull)
        return std::nullopt;
    const qint64 pixel = packed >> 2;
    const qint64 tile = pixel / TileGrid::tileSize;
    const qint64 whole = pixel - tile * TileGrid::tileSize;
    const qint64 tiles = tile - firstTile;
    const qint64 inView = tiles >= 0 || (packed & WorldPixel::onEdge) ? whole : whole + 1;
    const qint64 viewPixel = inView + tiles * TileGrid::tileSize + offset;
    // Far from a layout centred somewhere out of the world the sum leaves the int range:
    // pixelFor decides there (and finds no pixel).
    if (viewPixel < -farthestPixel || viewPixel > farthestPixel)
        return std::nullopt;
    return int(viewPixel);
}
} // namespace

WorldPixel TileGrid::worldPixelFor(double lng, double lat) const
{
    WorldPixel world;
    if (!(std::abs(lat) < 90.0) || !std::isfinite(lng))
        return world;
    const QPointF t = tileCoordinates(lat, lng);
    // A pixel of the map at zoom 20 is below 2^28; beyond that nothing is packed.
    if (!fitsInt(t.x()) || !fitsInt(t.y()) || t.x() >= 1 << 20 || t.y() >= 1 << 20)
        return world;
    const int tx = int(t.x());
    const int ty = int(t.y());
    // The same expressions as pixelFor, so that the same offsets come out.
    const double west = 360.0 / m_worldTiles * tx - 180.0;
    const double east = west + 360.0 / m_worldTiles;
    const double north = rowNorth(ty);
    const double south = rowNorth(ty + 1);
    world.x = packAxis(tx, (lng - west) * tileSize / (east - west));
    world.y = packAxis(ty, (lat - north) * tileSize / (south - north));
    return world;
}

std::optional<QPoint> TileGrid::viewPixel(const WorldPixel &world, double lng, double lat) const
{
    const std::optional<int> x = unpackAxis(world.x, m_tileRange.left(), m_tileOffset.x());
    const std::optional<int> y = unpackAxis(world.y, m_tileRange.top(), m_tileOffset.y());
    if (x && y)
        return QPoint(*x, *y);
    return pixelFor(lng, lat);
}

GeoPoint TileGrid::coordinatesAtPixel(int px, int py, const QSize &view) const
{
    const QPointF c = tileCoordinates(m_centreLat, m_centreLng);
    const int halfW = view.width() / 2;
    const int halfH = view.height() / 2;
    const double lat = tileYToLatitude(c.y() - (double(halfH) - py) / tileSize);
    const double lng = tileXToLongitude(c.x() - (double(halfW) - px) / tileSize);
    return {lat, lng};
}

void TileGrid::layout(const QSize &view)
{
    const int w = view.width();
    const int h = view.height();
    const QPointF t = tileCoordinates(m_centreLat, m_centreLng);
    // A centre that cannot be projected, or lies further out than any zoom's world, keeps
    // the layout there was.
    if (!(std::abs(t.x()) <= farthestCentreTile) || !(std::abs(t.y()) <= farthestCentreTile))
        return;
    // The centre tile is the one the centre lies in, floor and not truncation: west of
    // -180 degrees (or north of the first row) the two differ, and xp, yp are measured
    // from the floor.
    const int cx = int(std::floor(t.x()));
    const int cy = int(std::floor(t.y()));
    const int xp = int(w / 2 - (t.x() - cx) * tileSize);
    const int yp = int(h / 2 - (t.y() - cy) * tileSize);
    const int xa = (xp + 255) / tileSize;
    const int ya = (yp + 255) / tileSize;
    m_tileOffset = QPoint(xp - xa * tileSize, yp - ya * tileSize);
    m_tileRange = QRect(QPoint(cx - xa, cy - ya),
                        QPoint(cx + (w - 1 - xp) / tileSize, cy + (h - 1 - yp) / tileSize));
    // Keep the row edges of a generous band around the view; a pan within it keeps them.
    constexpr int band = 64;
    const int first = m_tileRange.top() - band;
    const int count = m_tileRange.height() + 2 * band + 1;
    if (m_rowEdges.empty() || first < m_rowEdgesFirst || first + count > m_rowEdgesFirst + int(m_rowEdges.size())) {
        m_rowEdgesFirst = first - band;
        m_rowEdges.assign(size_t(count + 2 * band), std::numeric_limits<double>::quiet_NaN());
    }
}

QRect TileGrid::tileScreenRect(const QPoint &tile) const
{
    // A tile far from the layout (a reply for a place the view has jumped away from) lies
    // far outside the view, at a held edge.
    const auto edge = [](int index, int first, int offset) {
        const qint64 pixel = (qint64(index) - first) * tileSize + offset;
        return int(std::clamp(pixel, -farthestPixel, farthestPixel));
    };
    return {edge(tile.x(), m_tileRange.left(), m_tileOffset.x()), edge(tile.y(), m_tileRange.top(), m_tileOffset.y()),
            tileSize, tileSize};
}

bool TileGrid::keeps(const QPoint &tile) const
{
    const QRect &r = m_tileRange;
    return tile.x() > qint64(r.left()) - 2 && tile.x() < qint64(r.right()) + 2 && tile.y() > qint64(r.top()) - 2
           && tile.y() < qint64(r.bottom()) + 2;
}

bool TileGrid::inWorld(const QPoint &tile) const
{
    return tile.x() >= 0 && tile.y() >= 0 && tile.x() < m_worldTiles && tile.y() < m_worldTiles;
}
