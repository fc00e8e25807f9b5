#include "tests/support/FeedServerFixture.h"

FeedServerFixture::FeedServerFixture()
{
    m_server.listen();
    m_server.setHandler([this](const HttpRequest &request) {
        return m_routes.value(request.path(), m_fallback);
    });
}

QString FeedServerFixture::url(const QString &path) const
{
    QString base = baseUrl().toString();
    base.chop(1);
    return base + path;
}

void FeedServerFixture::setFeed(const QByteArray &xml, const QString &path)
{
    setResponse(path, HttpResponse::ok(xml, "application/rss+xml"));
}

QByteArray FeedServerFixture::feed(const QStringList &items, const QString &channelExtras)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<rss version=\"2.0\" xmlns:sparkle=\"urn:test:feed\" xmlns:brisavela=\"urn:test:update\">\n"
                          "<channel>\n<title>Kanal</title>\n<link>http://example.invalid/</link>\n%1\n%2</channel>\n</rss>\n")
        .arg(channelExtras, items.join(QLatin1Char('\n')))
        .toUtf8();
}

QString FeedServerFixture::item(const QString &version, const QString &extraAttributes, const QString &installer) const
{
    return QStringLiteral("<item>\n<title>Brisavela %1</title>\n"
                          "<sparkle:releaseNotesLink>%2</sparkle:releaseNotesLink>\n"
                          "<pubDate>Mon, 07 Dec 2026 10:00:00 +0000</pubDate>\n"
                          "<enclosure url=\"%3\" sparkle:version=\"%1\" brisavela:platform=\"Q_OS_LINUX\" "
                          "brisavela:programType=\"FULL\" type=\"application/octet-stream\" %4/>\n</item>")
        .arg(version, url(QStringLiteral("/notes.html")), url(QStringLiteral("/") + installer), extraAttributes);
}
