#pragma once

#include "tools/httpserver/LocalHttpServer.h"

#include <QHash>
#include <QImage>

// A tile server on 127.0.0.1 that draws a distinct 256 x 256 PNG for every tile and can
// be told to fail: per tile path or for all requests.
class TileServerFixture : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        Tiles,
        NotFound,
        ServerError,
        Garbage,
        Empty,
        Html,
        Stall,
        Redirect,     // to /moved/... on this server
        ResetMidBody, // headers and half the PNG, then the connection is reset
        Oversized,    // a valid PNG of a few kilobytes that decodes to 4096 x 4096 pixels
        Endless,      // PNG bytes without end
        RedirectAway, // to the same path on the server set with setRedirectTarget
    };

    TileServerFixture();

    // Base URL without a trailing slash, as the tileServerUrl setting takes it.
    QUrl baseUrl() const;
    void setMode(Mode mode) { m_mode = mode; }
    void setModeFor(const QString &path, Mode mode) { m_modes.insert(path, mode); }
    void clearModes() { m_modes.clear(); }
    // Base URL (without a trailing slash) that RedirectAway sends clients to.
    void setRedirectTarget(const QUrl &base) { m_redirectTarget = base; }
    // Answers for tiles of this zoom level wait that long.
    void setDelayForZoom(int zoom, int milliseconds) { m_delays.insert(zoom, milliseconds); }
    LocalHttpServer &server() { return m_server; }
    QList<HttpRequest> requestsFor(int z, int x, int y) const;

    static QImage tileImage(int z, int x, int y);
    static QByteArray png(const QImage &image);
    static QString path(int z, int x, int y);

private:
    HttpResponse respond(const HttpRequest &request) const;

    LocalHttpServer m_server;
    Mode m_mode = Mode::Tiles;
    QHash<QString, Mode> m_modes;
    QHash<int, int> m_delays;
    QUrl m_redirectTarget;
};
