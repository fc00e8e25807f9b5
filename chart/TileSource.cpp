#include "chart/TileSource.h"

#include "store/AppIdentity.h"

#include <QDebug>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
const auto zoomAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
} // namespace

TileSource::TileSource(const QString &mapsFolder, const QUrl &serverUrl, QNetworkAccessManager *network,
                       QObject *parent)
    : QObject(parent)
    , m_mapsFolder(mapsFolder)
    , m_network(network)
{
    setServerUrl(serverUrl);
    connect(m_network, &QNetworkAccessManager::finished, this, &TileSource::handleNetworkData);
}

void TileSource::setServerUrl(const QUrl &serverUrl)
{
    m_serverBase = serverUrl.toString();
    while (m_serverBase.endsWith(QLatin1Char('/')))
        m_serverBase.chop(1);
}

QString TileSource::tilePath(int zoom, int x, int y) const
{
    return m_mapsFolder + QStringLiteral("/%1/%2/%3.png").arg(zoom).arg(x).arg(y);
}

QUrl TileSource::tileUrl(int zoom, int x, int y) const
{
    return QUrl(m_serverBase + QStringLiteral("/%1/%2/%3.png").arg(zoom).arg(x).arg(y));
}

QImage TileSource::cached(int zoom, const QPoint &tile) const
{
    QImage image;
    image.load(tilePath(zoom, tile.x(), tile.y()), "PNG");
    return image;
}

void TileSource::request(int zoom, const QPoint &tile)
{
    QDir().mkpath(m_mapsFolder + QStringLiteral("/%1/%2").arg(zoom).arg(tile.x()));
    QNetworkRequest request(tileUrl(zoom, tile.x(), tile.y()));
    request.setRawHeader("User-Agent", AppIdentity::userAgent);
    request.setAttribute(QNetworkRequest::User, tile);
    request.setAttribute(zoomAttribute, zoom);
    request.setTransferTimeout(m_timeoutMs);
    m_network->get(request);
}

void TileSource::handleNetworkData(QNetworkReply *reply)
{
    const QPoint tile = reply->request().attribute(QNetworkRequest::User).toPoint();
    const int zoom = reply->request().attribute(zoomAttribute).toInt();
    QImage image;
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Karte::handleNetworkData, " << reply->errorString();
        reply->abort();
    } else {
        const QByteArray body = reply->readAll();
        if (body.isEmpty()) {
            qDebug() << ".................ZACK!";
        } else if (!image.loadFromData(body)) {
            // Error pages and notices sent with status 200 end here and never reach the cache.
            qDebug() << ".................ZOCK!";
        } else {
            // The path comes from the zoom and index the request was sent for, whatever
            // the server's address looks like.
            const QString path = tilePath(zoom, tile.x(), tile.y());
            qDebug() << "Karte::handleNetworkData, downloaded , saving: " << path;
            QDir().mkpath(m_mapsFolder + QStringLiteral("/%1/%2").arg(zoom).arg(tile.x()));
            image.save(path, "PNG");
        }
    }
    reply->deleteLater();
    emit tileReplied(zoom, tile, image);
}
