#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

class QTcpServer;
class QTcpSocket;

struct HttpRequest
{
    QByteArray method;
    QByteArray target; // path and query as sent
    QUrl url;          // the target resolved against the server's base URL
    QList<QPair<QByteArray, QByteArray>> headers;

    QByteArray header(const QByteArray &name) const; // case-insensitive; empty when absent
    bool hasHeader(const QByteArray &name) const;
    QString path() const { return url.path(); }
    QUrlQuery query() const { return QUrlQuery(url); }

private:
    const QPair<QByteArray, QByteArray> *find(const QByteArray &name) const;
};

struct HttpResponse
{
    // Ways to misbehave, for testing how a client copes.
    enum class Fault {
        None,
        Stall,             // read the request, never answer
        ResetMidBody,      // send the headers and half the body, then reset the connection
        CloseBeforeAnswer, // close the connection without a byte
        Endless,           // send the headers, then the body over and over until the client leaves
        Raw,               // send the body as the whole answer, status line and headers included
    };

    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    Fault fault = Fault::None;
    int delayMs = 0;
    int repeatMs = 0; // Endless: pause between two copies of the body; 0 sends as fast as the client reads

    static HttpResponse ok(const QByteArray &body, const QByteArray &contentType = "text/plain; charset=utf-8");
    static HttpResponse error(int status, const QByteArray &body = QByteArray());
    static HttpResponse redirect(const QByteArray &location, int status = 302);
    static HttpResponse failing(Fault fault, const QByteArray &body = QByteArray());
    // A body without a length that never ends: piece after piece, every repeatMs.
    static HttpResponse endless(const QByteArray &piece, int repeatMs = 0);
    // Exactly these bytes, then the connection is closed.
    static HttpResponse raw(const QByteArray &bytes);
};

// A small HTTP/1.1 server on a local port, for test fixtures and the demo server. It
// answers GET requests through one handler, one request per connection, and keeps a log
// of every request it saw.
class LocalHttpServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<HttpResponse(const HttpRequest &)>;

    explicit LocalHttpServer(QObject *parent = nullptr);
    ~LocalHttpServer() override;

    // Port 0 picks a free port; read it back with port().
    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const;
    // "http://127.0.0.1:<port>/"
    QUrl baseUrl() const;

    void setHandler(Handler handler) { m_handler = std::move(handler); }

    const QList<HttpRequest> &requests() const { return m_requests; }
    QList<HttpRequest> requestsTo(const QString &path) const;
    void clearRequests() { m_requests.clear(); }
    // A long-running server that nobody inspects keeps no log (it would only grow).
    void setKeepLog(bool keep) { m_keepLog = keep; }

    // Endless answers still being sent, and the bytes all endless answers have sent so far.
    int endlessStreams() const { return m_endlessStreams; }
    qint64 endlessBytes() const { return m_endlessBytes; }

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const HttpResponse &response);
    void stream(QTcpSocket *socket, const HttpResponse &response);

    QTcpServer *m_server;
    Handler m_handler;
    QList<HttpRequest> m_requests;
    int m_endlessStreams = 0;
    qint64 m_endlessBytes = 0;
    bool m_keepLog = true;
};
