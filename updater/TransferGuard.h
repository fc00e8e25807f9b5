#pragma once

#include <QObject>
#include <QTimer>

class QNetworkReply;

// Ends a reply that receives more than it may, goes quiet or takes too long, and keeps
// the reason, so that the failure can name the limit. Lives as a child of its reply.
class TransferGuard : public QObject
{
    Q_OBJECT
public:
    // what names the download in the reason ("feed"); totalMs 0 sets no overall limit.
    static void watch(QNetworkReply *reply, const QString &what, qint64 maxBytes, int idleMs, int totalMs);

    // Counts bytes the reply's owner has read from it. False, and the reply aborted,
    // once they pass the limit.
    static bool take(QNetworkReply *reply, qint64 bytes);

    // Why the guard ended the reply; empty when it did not.
    static QString reasonFor(const QNetworkReply *reply);

private:
    TransferGuard(QNetworkReply *reply, const QString &what, qint64 maxBytes, int idleMs, int totalMs);
    static TransferGuard *of(const QNetworkReply *reply);

    bool allow(qint64 received);
    void stop(const QString &reason);

    QNetworkReply *m_reply;
    QString m_what;
    qint64 m_maxBytes;
    qint64 m_taken = 0;
    int m_idleMs;
    QTimer m_idle;
    QTimer m_total;
    QString m_reason;
};
