#pragma once

#include "chart/GeoPoint.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

// A position's pixel on the whole map at one zoom level: the view pixel follows from it by an
// integer shift for any centre and view size (TileGrid::viewPixel), so a track is projected
// once per zoom and not on every move. Packed: the pixel times four, and two flags.
struct WorldPixel
{
    // The position falls on a pixel edge: its view pixel is the same on either side of the view.
    static constexpr qint32 onEdge = 1;
    // Too close to a pixel edge (or outside the world) to shift: computed in full each time.
    static constexpr qint32 inFull = 2;

    qint32 x = inFull;
    qint32 y = inFull;
};

struct TileBounds
{
    double south;
    double west;
    double north;
    double east;
};

// The Web-Mercator tile arithmetic of the chart: projection, which tiles cover a view of
// a given size around the centre, and the rules for which tiles stay in memory and which
// one is fetched next. Pure arithmetic, no widgets.
class TileGrid
{
public:
    static constexpr int tileSize = 256;

    void setCentre(double lat, double lng);
    double centreLat() const { return m_centreLat; }
    double centreLng() const { return m_centreLng; }

    // No range check; the chart limits the zoom itself.
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    double worldTiles() const { return m_worldTiles; }

    QPointF tileCoordinates(double lat, double lng) const;
    // Truncated toward zero; beyond the int range held at its ends, NaN as 0.
    QPoint tileOf(double lat, double lng) const;
    double tileXToLongitude(double tx) const;
    double tileYToLatitude(double ty) const;
    TileBounds tileBounds(int x, int y) const;

    // View pixel of a position, longitude first. Inside a tile the latitude is interpolated
    // linearly between its edges. Empty when the position cannot be projected (a pole,
    // NaN, or a pixel beyond the integer range).
    std::optional<QPoint> pixelFor(double lng, double lat) const;
    // The position's pixel on the whole map at the current zoom.
    WorldPixel worldPixelFor(double lng, double lat) const;
    // The view pixel of a world pixel for the current layout: exactly pixelFor(lng, lat) of
    // the position it was made from (which is needed for the rare ones marked inFull).
    std::optional<QPoint> viewPixel(const WorldPixel &world, double lng, double lat) const;
    // Exact inverse Mercator of a view pixel for a view of the given size.
    GeoPoint coordinatesAtPixel(int px, int py, const QSize &view) const;

    // Lays out the tiles for a view of w x h pixels (both at least 1): afterwards the tiles
    // of tileRange() cover the view, each one intersecting it. A centre that cannot be
    // projected or lies more than 2^30 tiles from tile 0 keeps the layout there was.
    void layout(const QSize &view);
    QRect tileRange() const { return m_tileRange; }
    QPoint tileOffset() const { return m_tileOffset; }
    // For any tile index; tiles far outside the view get edges held at +-2^30 pixels.
    QRect tileScreenRect(const QPoint &tile) const;

    // Tiles kept in memory: the layout plus one tile of margin on each side.
    bool keeps(const QPoint &tile) const;
    // Whether the tile index exists at the current zoom.
    bool inWorld(const QPoint &tile) const;

    // The tile a fetch pass takes next: in each column from the left of the range to one
    // beyond its right, the first row (from the top to one beyond the bottom) for which
    // isMissing is true; the chosen tile is that of the last such column. (0, 0) when
    // nothing is missing.
    template <typename IsMissing>
    QPoint nextMissing(IsMissing isMissing) const
    {
        QPoint chosen(0, 0);
        for (int x = m_tileRange.left(); x <= m_tileRange.right() + 1; ++x) {
            for (int y = m_tileRange.top(); y <= m_tileRange.bottom() + 1; ++y) {
                if (isMissing(QPoint(x, y))) {
                    chosen = QPoint(x, y);
                    break;
                }
            }
        }
        return chosen;
    }

private:
    // Latitude of the north edge of tile row y, as tileBounds computes it.
    double rowNorth(int y) const;

    double m_centreLat = 42.986766;
    double m_centreLng = 16.0203;
    int m_zoom = 10;
    double m_worldTiles = 1024.0;
    QRect m_tileRange = QRect(QPoint(0, 0), QPoint(-1, -1));
    QPoint m_tileOffset = QPoint(0, 0);
    // Row edges around the layout, computed once per zoom and layout: projecting a
    // long track otherwise spends most of its time on them.
    mutable std::vector<double> m_rowEdges;
    int m_rowEdgesFirst = 0;
};
