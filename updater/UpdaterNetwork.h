#pragma once

#include <QNetworkAccessManager>

// The updater's network access. Requests made with bareRequest() are sent by
// BareHttpReply with no User-Agent; all others go through Qt's own backend.
class UpdaterNetwork : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit UpdaterNetwork(QObject *parent = nullptr);

    // A GET of url that carries no User-Agent header.
    static QNetworkRequest bareRequest(const QUrl &url);
    // The only schemes the updater follows or fetches: nothing is read from this machine.
    static bool isHttp(const QUrl &url);

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *outgoingData) override;
};
