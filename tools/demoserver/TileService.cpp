#include "tools/demoserver/TileService.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// In kilobytes: some thousand tiles, far more than a viewer keeps in view.
constexpr int memoryBudgetKb = 64 * 1024;
}

TileService::TileService(const Coastline &coastline, const QString &cacheFolder)
    : m_renderer(coastline)
    , m_memory(memoryBudgetKb)
{
    if (!cacheFolder.isEmpty()) {
        m_folder = cacheFolder + QStringLiteral("/%1-%2").arg(QLatin1String(ChartTileRenderer::styleVersion),
                                                              QString::fromLatin1(coastline.stamp()));
    }
}

QByteArray TileService::png(int zoom, int x, int y)
{
    if (!ChartTileRenderer::isValidTile(zoom, x, y))
        return {};
    const QString key = QStringLiteral("%1/%2/%3").arg(zoom).arg(x).arg(y);
    if (const QByteArray *hit = m_memory.object(key))
        return *hit;
    const QString path = m_folder.isEmpty() ? QString() : m_folder + QLatin1Char('/') + key + QStringLiteral(".png");
    QByteArray bytes;
    QFile cached(path);
    if (!path.isEmpty() && cached.open(QIODevice::ReadOnly))
        bytes = cached.readAll();
    if (bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        m_renderer.render(zoom, x, y).save(&buffer, "PNG");
        ++m_drawn;
        if (!path.isEmpty() && QDir().mkpath(QFileInfo(path).path())) {
            // Written whole or not at all, so a second server never reads half a tile.
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(bytes);
                file.commit();
            }
        }
    }
    m_memory.insert(key, new QByteArray(bytes), int(bytes.size() / 1024) + 1);
    return bytes;
}
