#pragma once

#include "updater/FeedDecoder.h"

#include <QString>
#include <QXmlStreamReader>

// What an item of the feed says about its download.
struct FeedItem
{
    QString title;
    QString link;
    QString releaseNotesLink;
    QString pubDate;
    QString url;
    QString version;
    QString platform;
    QString minPrevVersion;
    QString programType;
    QString type;
    QString signature;
    qint32 length = 0;
};

// Reads the update feed as it arrives and finds the first item that fits this program:
// its platform, its program type and the version it needs to be installed over. Each parse
// reads the text received so far from its start: the XML reader, fed piece by piece, judges
// a sequence split between two pieces differently from the same sequence in one piece (a
// "]]>" in text goes unnoticed), and the verdict must not depend on how the bytes arrive.
class FeedReader
{
public:
    enum class Outcome {
        Undecided, // the document ended (or is not complete) without a fitting item
        Decided,   // item() is the first fitting item
        Failed,    // the document is malformed: errorLine(), errorText()
    };

    void clear();
    // The reader gets text, never bytes: how the bytes are split must not change the verdict.
    void addData(const QByteArray &data) { m_text += m_decoder.decode(data); }
    Outcome parse();

    const FeedItem &item() const { return m_item; }

    // The links of an item that decides: the release-notes link (or else the plain link) in
    // both, checked to be http or https like the download link. The error to report, or empty.
    static QString completeLinks(FeedItem &item);
    qint64 errorLine() const { return m_errorLine; }
    QString errorText() const { return m_errorText; }

private:
    void startElement();
    void readEnclosure();
    void appendText();
    bool itemFits() const;
    Outcome failed(qint64 line, const QString &text);

    FeedDecoder m_decoder;
    QString m_text;
    QXmlStreamReader m_xml;
    qint64 m_errorLine = 0;
    QString m_errorText;
    FeedItem m_item;
    QString m_currentTag;
};
