#include "window/ReplyChunks.h"

#include <QNetworkReply>

ReplyChunks::ReplyChunks(QNetworkReply *reply)
    : QObject(reply)
    , m_reply(reply)
{
    connect(reply, &QIODevice::readyRead, this, &ReplyChunks::readAvailable);
}

void ReplyChunks::collect(QNetworkReply *reply)
{
    new ReplyChunks(reply);
}

void ReplyChunks::readAvailable()
{
    // Mostly the piece the network thread delivered, handed over without a copy.
    QByteArray piece = m_reply->readAll();
    if (!piece.isEmpty())
        m_pieces.append(std::move(piece));
}

QByteArrayList ReplyChunks::take(QNetworkReply *reply)
{
    auto *chunks = reply->findChild<ReplyChunks *>(QString(), Qt::FindDirectChildrenOnly);
    if (!chunks)
        return {reply->readAll()};
    chunks->readAvailable();
    QByteArrayList pieces = std::move(chunks->m_pieces);
    chunks->m_pieces.clear();
    return pieces;
}
