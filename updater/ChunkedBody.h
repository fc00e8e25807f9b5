#pragma once

#include <QByteArray>

// The body of an HTTP answer sent in chunks, decoded as its bytes arrive in any pieces.
class ChunkedBody
{
public:
    enum class State { More, Complete, Broken };

    // A chunk-size line longer than this is broken.
    static constexpr qsizetype longestLine = 1024;

    // Consumes what it can of incoming and appends the body bytes it holds to body.
    State take(QByteArray &incoming, QByteArray *body);

private:
    enum class Part { Size, Data, DataEnd, Trailer };

    Part m_part = Part::Size;
    qint64 m_left = 0;
};
