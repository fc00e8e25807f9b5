#pragma once

#include <QByteArrayList>
#include <QObject>

class QNetworkReply;

// The body of a reply as it arrives, piece by piece. Read at the end in one go, a body of
// many megabytes would be copied into one block on the window's thread; the pieces are
// handed on as they are, and joined where the time does not show.
class ReplyChunks : public QObject
{
    Q_OBJECT
public:
    // Collects for reply, whose child it becomes.
    static void collect(QNetworkReply *reply);
    // What came of the reply's body: the pieces collected and what is still unread. For a
    // reply nothing was collected for, its whole body in one piece.
    static QByteArrayList take(QNetworkReply *reply);

private:
    explicit ReplyChunks(QNetworkReply *reply);
    void readAvailable();

    QNetworkReply *m_reply;
    QByteArrayList m_pieces;
};
