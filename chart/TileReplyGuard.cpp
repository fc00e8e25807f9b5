#include "chart/TileReplyGuard.h"

#include <QBuffer>
#include <QDebug>
#include <QImageReader>
#include <QNetworkReply>
#include <QNetworkRequest>

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
        const bool sameOrSafer = to.scheme() == from.scheme()
                                 || (from.scheme() == QLatin1String("http") && to.scheme() == QLatin1String("https"));
        if (sameHost && sameOrSafer) {
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
