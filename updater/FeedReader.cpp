#include "updater/FeedReader.h"

#include "updater/IgnoredVersions.h"
#include "updater/UpdatePlatform.h"
#include "updater/UpdaterNetwork.h"

#include <QCoreApplication>
#include <QDebug>
#include <QUrl>

void FeedReader::clear()
{
    m_decoder.clear();
    m_text.clear();
    m_xml.clear();
    m_errorLine = 0;
    m_errorText.clear();
    m_item = FeedItem();
    m_currentTag.clear();
}

FeedReader::Outcome FeedReader::parse()
{
    m_xml.clear();
    m_xml.addData(m_text);
    m_errorLine = 0;
    m_errorText.clear();
    m_item = FeedItem();
    m_currentTag.clear();
    while (!m_xml.hasError() || m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
        if (m_xml.atEnd()) {
            // All text before an undecodable byte is read; the byte ends the document.
            return m_decoder.failed() ? failed(m_decoder.errorLine(), m_decoder.errorText()) : Outcome::Undecided;
        }
        m_xml.readNext();
        if (m_xml.isStartElement()) {
            startElement();
        } else if (m_xml.isCharacters() && !m_xml.isWhitespace()) {
            appendText();
        } else if (m_xml.isEndElement() && m_xml.name() == QLatin1String("item")) {
            if (itemFits())
                return Outcome::Decided;
        }
    }
    return failed(m_xml.lineNumber(), m_xml.errorString());
}

FeedReader::Outcome FeedReader::failed(qint64 line, const QString &text)
{
    m_errorLine = line;
    m_errorText = text;
    return Outcome::Failed;
}

void FeedReader::startElement()
{
    // Text goes to the element started last; the release-notes link is the one element
    // told by its prefix.
    m_currentTag = m_xml.qualifiedName() == QLatin1String("sparkle:releaseNotesLink") ? m_xml.qualifiedName().toString()
                                                                                       : m_xml.name().toString();
    if (m_xml.name() == QLatin1String("item"))
        m_item = FeedItem();
    else if (m_xml.name() == QLatin1String("enclosure"))
        readEnclosure();
}

void FeedReader::readEnclosure()
{
    const QXmlStreamAttributes a = m_xml.attributes();
    if (!a.hasAttribute(QStringLiteral("brisavela:platform")))
        return;
    m_item.platform = a.value(QStringLiteral("brisavela:platform")).toString().trimmed();
    if (!UpdatePlatform::PlatformMatches(m_item.platform))
        return;
    m_item.version.clear();
    m_item.url = a.value(QStringLiteral("url")).toString().trimmed();
    m_item.version = a.value(QStringLiteral("brisavela:version")).toString().trimmed();
    if (a.hasAttribute(QStringLiteral("brisavela:minPrevVersion")))
        m_item.minPrevVersion = a.value(QStringLiteral("brisavela:minPrevVersion")).toString().trimmed();
    if (a.hasAttribute(QStringLiteral("brisavela:programType")))
        m_item.programType = a.value(QStringLiteral("brisavela:programType")).toString().trimmed();
    if (a.hasAttribute(QStringLiteral("sparkle:version")))
        m_item.version = a.value(QStringLiteral("sparkle:version")).toString().trimmed();
    bool ok = false;
    const qint32 length = a.value(QStringLiteral("length")).toInt(&ok);
    m_item.length = ok ? length : 0;
    m_item.type = a.value(QStringLiteral("type")).toString().trimmed();
    m_item.signature = a.value(QStringLiteral("sparkle:edSignature")).toString().trimmed();
}

void FeedReader::appendText()
{
    const QString text = m_xml.text().toString().trimmed();
    if (m_currentTag == QLatin1String("title"))
        m_item.title += text;
    else if (m_currentTag == QLatin1String("link"))
        m_item.link += text;
    else if (m_currentTag == QLatin1String("sparkle:releaseNotesLink"))
        m_item.releaseNotesLink += text;
    else if (m_currentTag == QLatin1String("pubDate"))
        m_item.pubDate += text;
}

bool FeedReader::itemFits() const
{
    const QString &type = m_item.programType;
    if (m_item.minPrevVersion.isEmpty()) {
        if (type.isEmpty())
            return false;
        if (IgnoredVersions::ProgramTypeIsRight(type))
            return true;
    } else {
        if (!IgnoredVersions::MinPrevVersionIsMet(m_item.minPrevVersion))
            return false;
        if (type.isEmpty() || IgnoredVersions::ProgramTypeIsRight(type))
            return true;
    }
    qDebug() << "  falscher Programmtyp = " << type;
    return false;
}

QString FeedReader::completeLinks(FeedItem &item)
{
    if (!item.releaseNotesLink.isEmpty())
        item.link = item.releaseNotesLink;
    else if (item.link.isEmpty())
        return QCoreApplication::translate("Updater", "Feed error: \"release notes\" link is empty");
    else
        item.releaseNotesLink = item.link;
    if (!item.link.startsWith(QLatin1String("http://")) && !item.link.startsWith(QLatin1String("https://")))
        return QCoreApplication::translate("Updater", "Feed error: invalid \"release notes\" link");
    // The installer is fetched over HTTP too, never read from this machine.
    if (item.url.isEmpty() || !UpdaterNetwork::isHttp(QUrl(item.url)) || item.version.isEmpty()
        || item.platform.isEmpty())
        return QCoreApplication::translate("Updater", "Feed error: invalid \"enclosure\" with the download link");
    return QString();
}
