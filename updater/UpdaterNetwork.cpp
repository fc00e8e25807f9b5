#include "updater/UpdaterNetwork.h"

#include "updater/BareHttpReply.h"

namespace {
constexpr auto bareAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
}

UpdaterNetwork::UpdaterNetwork(QObject *parent)
    : QNetworkAccessManager(parent)
{
}

QNetworkRequest UpdaterNetwork::bareRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(bareAttribute, true);
    return request;
}

QNetworkReply *UpdaterNetwork::createRequest(Operation op, const QNetworkRequest &request, QIODevice *outgoingData)
{
    if (op == GetOperation && request.attribute(bareAttribute).toBool())
        return new BareHttpReply(request, this);
    return QNetworkAccessManager::createRequest(op, request, outgoingData);
}

bool UpdaterNetwork::isHttp(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}
