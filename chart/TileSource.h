#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Where the chart's tiles come from: the disk cache below the maps folder, else the tile
// server, whose answers are decoded and saved to the cache. It knows nothing of views.
class TileSource : public QObject
{
    Q_OBJECT
public:
    // Tile requests that get no answer end as network errors after this long, so a stalled
    // server cannot hold the map back.
    static constexpr int defaultTimeoutMs = 30000;

    // serverUrl: scheme and host of an OpenStreetMap-compatible server; network: not owned.
    TileSource(const QString &mapsFolder, const QUrl &serverUrl, QNetworkAccessManager *network,
               QObject *parent = nullptr);

    // Cache file of a tile: mapsFolder/z/x/y.png.
    QString tilePath(int zoom, int x, int y) const;
    QUrl tileUrl(int zoom, int x, int y) const;
    // The cached tile, or a null image when it is not on disk (or does not decode, which is
    // logged: the tile is then downloaded again).
    QImage cached(int zoom, const QPoint &tile) const;
    // Asks the server for a tile; the answer comes as tileReplied.
    void request(int zoom, const QPoint &tile);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void setServerUrl(const QUrl &serverUrl);
    QNetworkAccessManager *network() const { return m_network; }

signals:
    // A tile's reply has been handled: image is the decoded tile (also saved to the cache),
    // or null when the request failed or the answer is no image.
    void tileReplied(int zoom, const QPoint &tile, const QImage &image);

private slots:
    void handleNetworkData(QNetworkReply *reply);

private:
    QString m_mapsFolder;
    QString m_serverBase;
    QNetworkAccessManager *m_network;
    int m_timeoutMs = defaultTimeoutMs;
};
