#pragma once

#include "tools/httpserver/LocalHttpServer.h"

#include <QHash>

// A download server on 127.0.0.1 for the update feed: any path can be given a response
// (a feed, release notes, an installer, a redirect, an error).
class FeedServerFixture : public QObject
{
    Q_OBJECT
public:
    static constexpr char feedPath[] = "/downloads/setup/brisavela.xml";

    FeedServerFixture();

    // Base URL with a trailing slash, as the downloadServerUrl setting takes it.
    QUrl baseUrl() const { return m_server.baseUrl(); }
    QString url(const QString &path) const;
    LocalHttpServer &server() { return m_server; }

    void setResponse(const QString &path, const HttpResponse &response) { m_routes.insert(path, response); }
    // The answer for every path without its own response (404 unless set).
    void setFallback(const HttpResponse &response) { m_fallback = response; }
    void setFeed(const QByteArray &xml, const QString &path = QLatin1String(feedPath));

    // A feed whose items are the given XML fragments, with both prefixes declared.
    static QByteArray feed(const QStringList &items, const QString &channelExtras = QString());
    // An item offering a version for this platform, program type FULL.
    QString item(const QString &version, const QString &extraAttributes = QString(),
                 const QString &installer = QStringLiteral("brisavela-setup.run")) const;

private:
    LocalHttpServer m_server;
    QHash<QString, HttpResponse> m_routes;
    HttpResponse m_fallback = HttpResponse::error(404, "nothing here");
};
