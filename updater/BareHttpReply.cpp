#include "updater/BareHttpReply.h"

#include "updater/ChunkedBody.h"
#include "updater/HttpHead.h"
#include "updater/UpdaterNetwork.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <cstring>

namespace {


bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QNetworkReply::NetworkError errorForStatus(int status)
{
    switch (status) {
    case 401: return QNetworkReply::AuthenticationRequiredError;
    case 403: return QNetworkReply::ContentAccessDenied;
    case 404: return QNetworkReply::ContentNotFoundError;
    case 405: return QNetworkReply::ContentOperationNotPermittedError;
    case 407: return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409: return QNetworkReply::ContentConflictError;
    case 410: return QNetworkReply::ContentGoneError;
    case 418: return QNetworkReply::ProtocolInvalidOperationError;
    case 500: return QNetworkReply::InternalServerError;
    case 501: return QNetworkReply::OperationNotImplementedError;
    case 503: return QNetworkReply::ServiceUnavailableError;
    default: return status >= 500 ? QNetworkReply::UnknownServerError : QNetworkReply::UnknownContentError;
    }
}
} // namespace

BareHttpReply::BareHttpReply(const QNetworkRequest &request, QObject *parent)
    : QNetworkReply(parent)
{
    setRequest(request);
    setUrl(request.url());
    setOperation(QNetworkAccessManager::GetOperation);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    // Like every reply, this one reports nothing before its owner could connect to it.
    QTimer::singleShot(0, this, [this] {
        if (!done())
            connectTo(url());
    });
}

BareHttpReply::~BareHttpReply()
{
    dropSocket();
}

void BareHttpReply::abort()
{
    if (done())
        return;
    QNetworkReply::close();
    fail(OperationCanceledError, tr("Operation canceled"));
}

void BareHttpReply::close()
{
    abort();
    QNetworkReply::close();
}

qint64 BareHttpReply::bytesAvailable() const
{
    return m_body.size() - m_bodyRead + QNetworkReply::bytesAvailable();
}

qint64 BareHttpReply::readData(char *data, qint64 maxSize)
{
    const qint64 n = qMin<qint64>(maxSize, m_body.size() - m_bodyRead);
    if (n <= 0)
        return done() ? -1 : 0;
    std::memcpy(data, m_body.constData() + m_bodyRead, size_t(n));
    m_bodyRead += n;
    if (m_bodyRead == m_body.size()) {
        m_body.clear();
        m_bodyRead = 0;
    }
    return n;
}

void BareHttpReply::connectTo(const QUrl &target)
{
    if (!UpdaterNetwork::isHttp(target)) {
        fail(ProtocolUnknownError, tr("Protocol \"%1\" is unknown").arg(target.scheme()));
        return;
    }
    const bool secure = target.scheme() == QLatin1String("https");
    if (secure && !QSslSocket::supportsSsl()) {
        fail(ProtocolUnknownError, tr("TLS is not available"));
        return;
    }
    m_stage = Stage::Connecting;
    m_incoming.clear();
    m_received = 0;
    m_total = -1;
    m_chunks = ChunkedBody();
    m_error = NoError;
    const quint16 port = quint16(target.port(secure ? 443 : 80));
    if (secure) {
        auto *socket = new QSslSocket(this);
        m_socket = socket;
        socket->setSslConfiguration(request().sslConfiguration());
        socket->setPeerVerifyName(target.host());
        connect(socket, &QSslSocket::encrypted, this, &BareHttpReply::sendRequest);
        socket->connectToHostEncrypted(target.host(), port);
    } else {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &BareHttpReply::sendRequest);
        m_socket->connectToHost(target.host(), port);
    }
    connect(m_socket, &QAbstractSocket::readyRead, this, &BareHttpReply::readSocket);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &BareHttpReply::socketError);
}

void BareHttpReply::sendRequest()
{
    const QUrl target = url();
    QByteArray path = target.path(QUrl::FullyEncoded).toLatin1();
    if (path.isEmpty())
        path = "/";
    if (target.hasQuery())
        path += '?' + target.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = target.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (target.port() != -1)
        host += ':' + QByteArray::number(target.port());

    QByteArray head = "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n";
    if (!m_authorization.isEmpty())
        head += "Authorization: " + m_authorization + "\r\n";
    for (const QByteArray &name : request().rawHeaderList()) {
        const QByteArray lower = name.toLower();
        if (lower != "host" && lower != "connection")
            head += name + ": " + request().rawHeader(name) + "\r\n";
    }
    head += "\r\n";
    m_stage = Stage::Head;
    m_socket->write(head);
}

void BareHttpReply::readSocket()
{
    if (done() || !m_socket)
        return;
    m_incoming += m_socket->readAll();
    if (m_stage == Stage::Head && !readHead())
        return;
    if (m_stage == Stage::Body)
        readBody();
}

// True when the body follows; false while the head is incomplete or when the reply went
// on elsewhere (a redirection, new credentials) or failed.
bool BareHttpReply::readHead()
{
    while (true) {
        HttpHead head;
        const HttpHead::Parse parsed = HttpHead::take(m_incoming, &head);
        if (parsed == HttpHead::Parse::Incomplete)
            return false;
        if (parsed == HttpHead::Parse::Broken) {
            fail(ProtocolFailure, tr("The server did not answer in HTTP"));
            return false;
        }
        if (head.status < 200)
            continue; // an interim answer; the real one follows
        m_status = head.status;
        // Only this answer's headers count, not those of one redirected from.
        for (const QByteArray &name : rawHeaderList())
            setRawHeader(name, QByteArray());
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, head.status);
        setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, QString::fromLatin1(head.reason));
        for (const auto &[name, value] : std::as_const(head.headers)) {
            const QByteArray earlier = rawHeader(name);
            setRawHeader(name, earlier.isEmpty() ? value : earlier + ", " + value);
        }
        return startBody();
    }
}

bool BareHttpReply::startBody()
{
    const QByteArray location = rawHeader("Location");
    if (isRedirect(m_status) && !location.isEmpty()) {
        const QUrl target = url().resolved(QUrl::fromEncoded(location));
        const QVariant policy = request().attribute(QNetworkRequest::RedirectPolicyAttribute);
        if (policy.isValid() && policy.toInt() == QNetworkRequest::ManualRedirectPolicy)
            setAttribute(QNetworkRequest::RedirectionTargetAttribute, QUrl::fromEncoded(location));
        else
            return followRedirect(target);
    }
    if (m_status == 401 && retryWithCredentials())
        return false;
    if (m_status >= 400) {
        m_error = errorForStatus(m_status);
        m_errorText = tr("Error transferring %1 - server replied: %2")
                                .arg(url().toString(), attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }

    bool lengthOk = false;
    const qint64 length = rawHeader("Content-Length").toLongLong(&lengthOk);
    if (m_status == 204 || m_status == 304)
        m_framing = Framing::None;
    else if (rawHeader("Transfer-Encoding").toLower().contains("chunked"))
        m_framing = Framing::Chunked;
    else if (lengthOk && length >= 0)
        m_framing = Framing::Length;
    else
        m_framing = Framing::UntilClose;
    m_total = m_framing == Framing::Length ? length : -1;

    m_stage = Stage::Body;
    emit metaDataChanged();
    if (done())
        return false;
    if (m_framing == Framing::None || (m_framing == Framing::Length && m_total == 0)) {
        finish();
        return false;
    }
    return true;
}

bool BareHttpReply::followRedirect(const QUrl &target)
{
    if (!UpdaterNetwork::isHttp(target)) {
        fail(ProtocolUnknownError, tr("Redirection to %1 refused: only http and https are followed").arg(target.toString()));
        return false;
    }
    if (url().scheme() == QLatin1String("https") && target.scheme() == QLatin1String("http")) {
        fail(InsecureRedirectError, tr("Redirection from https to %1 refused").arg(target.toString()));
        return false;
    }
    if (++m_redirects > maxRedirects) {
        fail(TooManyRedirectsError, tr("More than %1 redirections").arg(maxRedirects));
        return false;
    }
    dropSocket();
    emit redirected(target);
    if (done())
        return false;
    setUrl(target);
    connectTo(target);
    return false;
}

// Asks the manager's authenticationRequired once; when the server refuses the credentials
// it got, asks again with them filled in, so the slot can tell they failed.
bool BareHttpReply::retryWithCredentials()
{
    QNetworkAccessManager *network = manager();
    if (!network || !rawHeader("WWW-Authenticate").trimmed().toLower().startsWith("basic"))
        return false;
    QAuthenticator authenticator;
    if (m_credentialsSent) {
        authenticator.setUser(m_user);
        authenticator.setPassword(m_password);
    }
    emit network->authenticationRequired(this, &authenticator);
    if (done())
        return true;
    if (authenticator.user().isEmpty()
        || (m_credentialsSent && authenticator.user() == m_user && authenticator.password() == m_password))
        return false;
    m_user = authenticator.user();
    m_password = authenticator.password();
    m_credentialsSent = true;
    m_authorization = "Basic " + (m_user + QLatin1Char(':') + m_password).toUtf8().toBase64();
    dropSocket();
    connectTo(url());
    return true;
}

void BareHttpReply::readBody()
{
    if (m_framing == Framing::Chunked) {
        readChunks();
        return;
    }
    QByteArray bytes;
    bytes.swap(m_incoming);
    if (m_framing == Framing::Length && bytes.size() > m_total - m_received)
        bytes.truncate(m_total - m_received);
    if (!bytes.isEmpty())
        appendBody(bytes);
    if (!done() && m_framing == Framing::Length && m_received == m_total)
        finish();
}

void BareHttpReply::readChunks()
{
    QByteArray bytes;
    const ChunkedBody::State state = m_chunks.take(m_incoming, &bytes);
    if (!bytes.isEmpty())
        appendBody(bytes);
    if (done())
        return;
    if (state == ChunkedBody::State::Broken)
        fail(ProtocolFailure, tr("The server sent a broken chunk"));
    else if (state == ChunkedBody::State::Complete)
        finish();
}

void BareHttpReply::appendBody(const QByteArray &bytes)
{
    m_body += bytes;
    m_received += bytes.size();
    emit readyRead();
    if (!done())
        emit downloadProgress(m_received, m_total);
}

void BareHttpReply::socketError(QAbstractSocket::SocketError error)
{
    if (done())
        return;
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Bytes that came with the close are still to be read.
        readSocket();
        if (done())
            return;
        if (m_stage == Stage::Body && m_framing == Framing::UntilClose)
            finish();
        else
            fail(RemoteHostClosedError, tr("Connection closed"));
        return;
    }
    const QString text = m_socket ? m_socket->errorString() : QString();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: fail(ConnectionRefusedError, text); break;
    case QAbstractSocket::HostNotFoundError: fail(HostNotFoundError, text); break;
    case QAbstractSocket::SocketTimeoutError: fail(TimeoutError, text); break;
    case QAbstractSocket::SslHandshakeFailedError: fail(SslHandshakeFailedError, text); break;
    case QAbstractSocket::ProxyConnectionRefusedError: fail(ProxyConnectionRefusedError, text); break;
    case QAbstractSocket::ProxyNotFoundError: fail(ProxyNotFoundError, text); break;
    case QAbstractSocket::ProxyAuthenticationRequiredError: fail(ProxyAuthenticationRequiredError, text); break;
    default: fail(UnknownNetworkError, text); break;
    }
}

void BareHttpReply::fail(NetworkError code, const QString &text)
{
    if (done())
        return;
    m_error = code;
    m_errorText = text;
    finish();
}

void BareHttpReply::finish()
{
    if (done())
        return;
    m_stage = Stage::Done;
    dropSocket();
    if (m_error != NoError) {
        setError(m_error, m_errorText);
        emit errorOccurred(m_error);
    }
    setFinished(true);
    emit finished();
}

void BareHttpReply::dropSocket()
{
    if (!m_socket)
        return;
    QAbstractSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
