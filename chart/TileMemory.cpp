#include "chart/TileMemory.h"

#include "chart/TileGrid.h"

#include <QColor>

TileMemory::TileMemory()
    : m_placeholder(TileGrid::tileSize, TileGrid::tileSize, QImage::Format_RGB32)
{
    m_placeholder.fill(QColor(192, 192, 192));
}

bool TileMemory::isPlaceholder(const QPoint &tile) const
{
    const auto it = m_tiles.find(tile);
    return it != m_tiles.end() && it->second.cacheKey() == m_placeholder.cacheKey();
}

QImage TileMemory::image(const QPoint &tile) const
{
    const auto it = m_tiles.find(tile);
    return it == m_tiles.end() ? QImage() : it->second;
}

const QImage &TileMemory::shown(const QPoint &tile) const
{
    const auto it = m_tiles.find(tile);
    return it == m_tiles.end() ? m_placeholder : it->second;
}

void TileMemory::keepOnly(const TileGrid &grid)
{
    for (auto it = m_tiles.begin(); it != m_tiles.end();) {
        if (grid.keeps(it->first))
            ++it;
        else
            it = m_tiles.erase(it);
    }
}
