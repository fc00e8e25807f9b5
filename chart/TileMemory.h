#pragma once

#include <QImage>
#include <QPoint>

#include <unordered_map>

class TileGrid;

// The chart's tiles held in memory, and the grey placeholder drawn where a tile is missing
// or could not be had. A placeholder stored for a tile counts as present, so a tile whose
// download is under way is not asked for twice.
class TileMemory
{
public:
    TileMemory();

    bool has(const QPoint &tile) const { return m_tiles.find(tile) != m_tiles.end(); }
    bool isPlaceholder(const QPoint &tile) const;
    // The tile's image; a null image when none is held.
    QImage image(const QPoint &tile) const;
    // What to draw for the tile: its image, else the placeholder.
    const QImage &shown(const QPoint &tile) const;
    const QImage &placeholder() const { return m_placeholder; }
    int count() const { return int(m_tiles.size()); }

    void store(const QPoint &tile, const QImage &image) { m_tiles[tile] = image; }
    // Drops the tiles the grid does not keep.
    void keepOnly(const TileGrid &grid);
    void clear() { m_tiles.clear(); }

private:
    struct TileKeyHash
    {
        size_t operator()(const QPoint &p) const { return size_t(p.x() * 17 ^ p.y()); }
    };

    QImage m_placeholder;
    std::unordered_map<QPoint, QImage, TileKeyHash> m_tiles;
};
