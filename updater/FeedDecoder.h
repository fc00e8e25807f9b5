#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

// Turns the feed's bytes into text the same way however they are split on the way: the
// encoding comes from a byte-order mark or the XML declaration, a character split between
// two pieces waits for its rest, and decoding stops at the first byte that does not fit
// the encoding, remembering the line it is on. (The XML reader does all this itself when
// it is given bytes, but its verdict and line then depend on where the pieces end.)
class FeedDecoder
{
public:
    void clear();

    // Takes the next piece and returns the text it completes; possibly empty while the
    // encoding is still unknown.
    QString decode(const QByteArray &piece);

    // Set once decoding has stopped: errorLine() is 1-based.
    bool failed() const { return m_failed; }
    qint64 errorLine() const { return m_errorLine; }
    QString errorText() const { return m_errorText; }

private:
    enum class Stage { Sniffing, Decoding };

    bool chooseEncoding();
    QStringDecoder makeDecoder() const;
    QString decodeFrom(qsizetype start);
    qsizetype firstBadByteEnd(qsizetype cleanUpTo) const;
    void countLines(const QString &text);
    void fail(const QString &text);

    QByteArray m_bytes; // all bytes so far, so that a bad byte can be found exactly
    qsizetype m_decodedUpTo = 0;
    qsizetype m_decodedChars = 0;
    Stage m_stage = Stage::Sniffing;
    QByteArray m_encodingName; // empty: UTF-8
    QStringDecoder m_decoder;
    qint64 m_lines = 1;
    bool m_afterCarriageReturn = false;
    bool m_failed = false;
    qint64 m_errorLine = 0;
    QString m_errorText;
};
