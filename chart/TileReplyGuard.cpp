#include "chart/TileReplyGuard.h"

#include <QBuffer>
#include <QDebug>
#include <QImageReader>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
int portOf(const QUrl &url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}
} // namespace

void TileReplyGuard::prepare(QNetworkRequest &request)
{
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
}

void TileReplyGuard::watch(QNetworkReply *reply)
{
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received <= maxBytes && total <= maxBytes)
            return;
        qWarning() << "Karte::handleNetworkData, Kachel groesser als" << maxBytes << "Bytes, abgebrochen:"
                   << reply->url().toString();
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl &target) {
        const QUrl from = reply->request().url();
        const QUrl to = reply->url().resolved(target);
        const bool sameHost = to.host().compare(from.host(), Qt::CaseInsensitive) == 0;
        const bool sameServer = sameHost && to.scheme() == from.scheme() && portOf(to) == portOf(from);
        // The same server moving from http to https on the standard ports.
        const bool upgrade = sameHost && from.scheme() == QLatin1String("http") && to.scheme() == QLatin1String("https")
                             && portOf(from) == 80 && portOf(to) == 443;
        if (sameServer || upgrade) {
            emit reply->redirectAllowed();
            return;
        }
        qWarning() << "Karte::handleNetworkData, Umleitung auf einen anderen Server abgelehnt:" << from.toString()
                   << "->" << to.toString();
        reply->abort();
    });
}

QString TileReplyGuard::problem(const QByteArray &body)
{
    if (body.size() > maxBytes)
        return QStringLiteral("%1 Bytes").arg(body.size());
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    // A header that cannot be read leaves the verdict to the decoder.
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        return QStringLiteral("%1 x %2 Pixel").arg(size.width()).arg(size.height());
    return QString();
}
