#pragma once

#include <QByteArray>
#include <QString>

class QNetworkReply;
class QNetworkRequest;

// What a tile reply may bring. The chart talks to one tile server and a tile is a small
// image: a server that sends without end, an image that would decode to hundreds of
// megabytes, or a redirection to another host is refused.
class TileReplyGuard
{
public:
    static constexpr qint64 maxBytes = 2 * 1024 * 1024;
    static constexpr int maxSide = 2048;

    // Redirections of the request are decided by watch().
    static void prepare(QNetworkRequest &request);
    // Aborts the reply once it announces or brings more than maxBytes, and follows a
    // redirection only to the server the request went to: the same scheme, host and port,
    // or the same host moving from http to https. Both are logged; the reply then ends
    // with an error.
    static void watch(QNetworkReply *reply);
    // Empty when the body may be decoded, else why not: too many bytes, or an image header
    // that declares more than maxSide pixels in either direction.
    static QString problem(const QByteArray &body);
};
