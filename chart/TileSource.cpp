#include "chart/TileSource.h"

#include "chart/TileReplyGuard.h"
#include "store/AppIdentity.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
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
    const QString path = tilePath(zoom, tile.x(), tile.y());
    // A damaged file counts as missing, so a download replaces it.
    if (!image.load(path, "PNG") && QFileInfo::exists(path))
        qWarning() << "Karte::download(), Kachel im Cache unlesbar:" << path;
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
    TileReplyGuard::prepare(request);
    TileReplyGuard::watch(m_network->get(request));
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
        const QString tooLarge = TileReplyGuard::problem(body);
        if (body.isEmpty()) {
            qDebug() << ".................ZACK!";
        } else if (!tooLarge.isEmpty()) {
            qWarning() << "Karte::handleNetworkData, Kachel zu gross:" << tooLarge << reply->url().toString();
        } else if (!image.loadFromData(body)) {
            // Error pages and notices sent with status 200 end here and never reach the cache.
            qDebug() << ".................ZOCK!";
        } else {
            // The path comes from the zoom and index the request was sent for, whatever
            // the server's address looks like.
            const QString path = tilePath(zoom, tile.x(), tile.y());
            qDebug() << "Karte::handleNetworkData, downloaded , saving: " << path;
            QDir().mkpath(m_mapsFolder + QStringLiteral("/%1/%2").arg(zoom).arg(tile.x()));
            // The tile still shows from memory; it is downloaded again when next needed.
            if (!image.save(path, "PNG"))
                qWarning() << "Karte::handleNetworkData, Kachel nicht gespeichert:" << path;
        }
    }
    reply->deleteLater();
    emit tileReplied(zoom, tile, image);
}
