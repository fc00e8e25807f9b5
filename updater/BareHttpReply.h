#pragma once

#include "updater/ChunkedBody.h"

#include <QAbstractSocket>
#include <QNetworkReply>

// An HTTP/1.1 GET that sends no header of its own but Host and Connection, for the
// requests that go out without a User-Agent: Qt's HTTP backend always adds one (its own
// "Mozilla/5.0" when the request has none). It behaves as a reply of the manager that
// created it: finished, errors, status attribute, readyRead and downloadProgress as usual.
// Redirections are followed to http and https only and never from https to http; HTTP
// Basic authentication goes through the manager's authenticationRequired signal.
class BareHttpReply : public QNetworkReply
{
    Q_OBJECT
public:
    static constexpr int maxRedirects = 10;

    BareHttpReply(const QNetworkRequest &request, QObject *parent);
    ~BareHttpReply() override;

    void abort() override;
    void close() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    enum class Stage { Connecting, Head, Body, Done };
    enum class Framing { None, Length, Chunked, UntilClose };

    void connectTo(const QUrl &url);
    void sendRequest();
    void readSocket();
    bool readHead();
    bool startBody();
    void readBody();
    void readChunks();
    bool followRedirect(const QUrl &target);
    bool retryWithCredentials();
    void appendBody(const QByteArray &bytes);
    void socketError(QAbstractSocket::SocketError error);
    void fail(NetworkError code, const QString &text);
    void finish();
    void dropSocket();
    bool done() const { return m_stage == Stage::Done; }

    QAbstractSocket *m_socket = nullptr;
    Stage m_stage = Stage::Connecting;
    Framing m_framing = Framing::UntilClose;
    ChunkedBody m_chunks;
    QByteArray m_incoming; // received, not yet parsed
    QByteArray m_body;     // parsed, not yet read
    qsizetype m_bodyRead = 0;
    qint64 m_received = 0; // body bytes so far
    qint64 m_total = -1;   // announced body length
    int m_status = 0;
    int m_redirects = 0;
    QByteArray m_authorization;
    bool m_credentialsSent = false;
    QString m_user;
    QString m_password;
    NetworkError m_error = NoError;
    QString m_errorText;
};
