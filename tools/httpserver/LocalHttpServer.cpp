#include "tools/httpserver/LocalHttpServer.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {
const char *reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

// Closing with a zero linger time makes the kernel send a reset instead of a clean end.
void resetConnection(QTcpSocket *socket)
{
    const qintptr fd = socket->socketDescriptor();
    if (fd >= 0) {
        struct linger lin = {1, 0};
        ::setsockopt(int(fd), SOL_SOCKET, SO_LINGER, &lin, sizeof lin);
    }
    socket->abort();
}
} // namespace

const QPair<QByteArray, QByteArray> *HttpRequest::find(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return &h;
    }
    return nullptr;
}

QByteArray HttpRequest::header(const QByteArray &name) const
{
    const auto *h = find(name);
    return h ? h->second : QByteArray();
}

bool HttpRequest::hasHeader(const QByteArray &name) const
{
    return find(name) != nullptr;
}

HttpResponse HttpResponse::ok(const QByteArray &body, const QByteArray &contentType)
{
    HttpResponse r;
    r.body = body;
    r.contentType = contentType;
    return r;
}

HttpResponse HttpResponse::error(int status, const QByteArray &body)
{
    HttpResponse r;
    r.status = status;
    r.body = body;
    return r;
}

HttpResponse HttpResponse::redirect(const QByteArray &location, int status)
{
    HttpResponse r;
    r.status = status;
    r.headers.append({"Location", location});
    return r;
}

HttpResponse HttpResponse::failing(Fault fault, const QByteArray &body)
{
    HttpResponse r;
    r.fault = fault;
    r.body = body;
    return r;
}

HttpResponse HttpResponse::endless(const QByteArray &piece, int repeatMs)
{
    HttpResponse r;
    r.fault = Fault::Endless;
    r.body = piece;
    r.repeatMs = repeatMs;
    return r;
}

HttpResponse HttpResponse::raw(const QByteArray &bytes)
{
    HttpResponse r;
    r.fault = Fault::Raw;
    r.body = bytes;
    return r;
}

LocalHttpServer::LocalHttpServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_handler([](const HttpRequest &) { return HttpResponse::error(404); })
{
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
}

LocalHttpServer::~LocalHttpServer() = default;

bool LocalHttpServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

quint16 LocalHttpServer::port() const
{
    return m_server->serverPort();
}

QUrl LocalHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port()));
}

QList<HttpRequest> LocalHttpServer::requestsTo(const QString &path) const
{
    QList<HttpRequest> result;
    for (const HttpRequest &r : m_requests) {
        if (r.path() == path)
            result << r;
    }
    return result;
}

void LocalHttpServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::readFrom(QTcpSocket *socket)
{
    // One request per connection: once its head is complete, further bytes are ignored.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("answered", true);

    const QList<QByteArray> lines = buffer.left(end).split('\n');
    HttpRequest request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    request.url = baseUrl().resolved(QUrl::fromEncoded(request.target));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    if (m_keepLog)
        m_requests.append(request);

    const HttpResponse response = m_handler(request);
    if (response.delayMs > 0) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(response.delayMs, this, [this, guarded, response] {
            if (guarded)
                answer(guarded, response);
        });
    } else {
        answer(socket, response);
    }
}

void LocalHttpServer::answer(QTcpSocket *socket, const HttpResponse &response)
{
    switch (response.fault) {
    case HttpResponse::Fault::Stall:
        return;
    case HttpResponse::Fault::CloseBeforeAnswer:
        socket->disconnectFromHost();
        return;
    case HttpResponse::Fault::Endless:
        stream(socket, response);
        return;
    case HttpResponse::Fault::Raw:
        socket->write(response.body);
        socket->disconnectFromHost();
        return;
    default:
        break;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n";
    for (const auto &h : response.headers)
        head += h.first + ": " + h.second + "\r\n";
    head += "\r\n";

    if (response.fault == HttpResponse::Fault::ResetMidBody) {
        socket->write(head + response.body.left(response.body.size() / 2));
        socket->flush();
        socket->waitForBytesWritten(1000);
        resetConnection(socket);
        return;
    }
    socket->write(head + response.body);
    socket->disconnectFromHost();
}

void LocalHttpServer::stream(QTcpSocket *socket, const HttpResponse &response)
{
    if (response.body.isEmpty())
        return;
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: " + response.contentType + "\r\nConnection: close\r\n\r\n";
    socket->write(head);
    ++m_endlessStreams;
    const QByteArray piece = response.body;
    // Only a little is queued at a time, so the server's memory does not grow when the
    // client stops reading.
    auto more = [this, socket, piece] {
        if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 4 * piece.size() + 65536)
            return;
        socket->write(piece);
        m_endlessBytes += piece.size();
    };
    connect(socket, &QTcpSocket::disconnected, this, [this] { --m_endlessStreams; });
    if (response.repeatMs > 0) {
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, more);
        timer->start(response.repeatMs);
    } else {
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
    }
    more();
}
