#pragma once

#include "tools/coastline/ChartTileRenderer.h"

#include <QByteArray>
#include <QCache>
#include <QString>

// Chart tiles as PNG files, drawn once and then kept: in memory, and on disk when a
// cache folder is given (the drawings of other coastline data or another look live in
// other sub-folders, so they never mix).
class TileService
{
public:
    TileService(const Coastline &coastline, const QString &cacheFolder);

    // Empty for a tile that does not exist.
    QByteArray png(int zoom, int x, int y);

    // How many tiles were drawn rather than found in a cache.
    int drawn() const { return m_drawn; }
    QString diskFolder() const { return m_folder; }

private:
    ChartTileRenderer m_renderer;
    QCache<QString, QByteArray> m_memory;
    QString m_folder;
    int m_drawn = 0;
};
