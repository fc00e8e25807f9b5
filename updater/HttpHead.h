#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// The head of an HTTP/1.x answer: status line and headers, read from the front of what a
// connection has received so far.
struct HttpHead
{
    enum class Parse { Incomplete, Complete, Broken };

    // A status line and headers longer than this are not an answer worth waiting for.
    static constexpr qsizetype longest = 64 * 1024;

    // Takes one head from the front of incoming (the body's bytes stay). Broken when it is
    // no HTTP answer, or longer than longest without its end.
    static Parse take(QByteArray &incoming, HttpHead *head);

    int status = 0;
    QByteArray reason;
    QList<QPair<QByteArray, QByteArray>> headers;
};
