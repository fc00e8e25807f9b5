#include "updater/TransferGuard.h"

#include <QDebug>
#include <QNetworkReply>

void TransferGuard::watch(QNetworkReply *reply, const QString &what, qint64 maxBytes, int idleMs, int totalMs)
{
    new TransferGuard(reply, what, maxBytes, idleMs, totalMs);
}

TransferGuard::TransferGuard(QNetworkReply *reply, const QString &what, qint64 maxBytes, int idleMs, int totalMs)
    : QObject(reply)
    , m_reply(reply)
    , m_what(what)
    , m_maxBytes(maxBytes)
    , m_idleMs(idleMs)
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, [this] { stop(QStringLiteral("the %1 download sent no data for %2 ms").arg(m_what).arg(m_idleMs)); });
    m_idle.start(idleMs);
    if (totalMs > 0) {
        m_total.setSingleShot(true);
        connect(&m_total, &QTimer::timeout, this,
                [this, totalMs] { stop(QStringLiteral("the %1 download took longer than %2 ms").arg(m_what).arg(totalMs)); });
        m_total.start(totalMs);
    }
    // A length announced beyond the limit ends the reply before its body comes.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] {
        bool ok = false;
        const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok)
            allow(announced);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this] { m_idle.start(m_idleMs); });
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        m_idle.start(m_idleMs);
        allow(received);
    });
    connect(reply, &QNetworkReply::finished, this, [this] {
        m_idle.stop();
        m_total.stop();
    });
}

TransferGuard *TransferGuard::of(const QNetworkReply *reply)
{
    return reply ? reply->findChild<TransferGuard *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool TransferGuard::take(QNetworkReply *reply, qint64 bytes)
{
    TransferGuard *guard = of(reply);
    if (!guard)
        return true;
    guard->m_taken += bytes;
    return guard->allow(guard->m_taken);
}

QString TransferGuard::reasonFor(const QNetworkReply *reply)
{
    const TransferGuard *guard = of(reply);
    return guard ? guard->m_reason : QString();
}

bool TransferGuard::allow(qint64 received)
{
    if (!m_reason.isEmpty())
        return false;
    if (received <= m_maxBytes)
        return true;
    stop(QStringLiteral("the %1 download is larger than %2 bytes").arg(m_what).arg(m_maxBytes));
    return false;
}

void TransferGuard::stop(const QString &reason)
{
    if (!m_reason.isEmpty())
        return;
    m_reason = reason;
    m_idle.stop();
    m_total.stop();
    qWarning() << "Updater: request aborted:" << reason << m_reply->url().toString();
    m_reply->abort();
}
