#pragma once

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
// its platform, its program type and the version it needs to be installed over.
class FeedReader
{
public:
    enum class Outcome {
        Undecided, // the document ended (or is not complete) without a fitting item
        Decided,   // item() is the first fitting item
        Failed,    // the document is malformed: errorLine(), errorText()
    };

    void clear();
    void addData(const QByteArray &data) { m_xml.addData(data); }
    Outcome parse();

    const FeedItem &item() const { return m_item; }
    qint64 errorLine() const { return m_xml.lineNumber(); }
    QString errorText() const { return m_xml.errorString(); }

private:
    void startElement();
    void readEnclosure();
    void appendText();
    bool itemFits() const;

    QXmlStreamReader m_xml;
    FeedItem m_item;
    QString m_currentTag;
};
