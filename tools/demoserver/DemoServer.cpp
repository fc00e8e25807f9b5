#include "tools/demoserver/DemoServer.h"

#include <QDateTime>

#include <sodium.h>

namespace {
constexpr char releaseNotes[] =
    "<html><body><h3>Brisavela %1</h3><ul>"
    "<li>Schnelleres Laden gro&szlig;er Regatten</li>"
    "<li>Boote lassen sich direkt in der Karte verfolgen</li>"
    "<li>Verbesserte Anzeige der Tracks</li>"
    "</ul></body></html>";
} // namespace

DemoServer::DemoServer(const Options &options)
    : m_options(options)
{
    // The recorded boats sail the seeded races, each time near its first mark, so the
    // tracks lie among the race's gates.
    addEvent(125, 42.7674573 + 0.004, 16.0979272 - 0.006, 12501);
    addEvent(10, 43.98 - 0.006, 15.366 - 0.004, 1001);
    addEvent(21, 43.98 - 0.006, 15.366 - 0.004, 2101);
    m_server.setHandler([this](const HttpRequest &request) { return respond(request); });
}

bool DemoServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, m_options.port);
}

int DemoServer::boatCount() const
{
    return int(m_boats.size());
}

void DemoServer::addEvent(int eventId, double lat, double lng, int firstId)
{
    const QList<RecordedRace::Boat> recorded = RecordedRace::valencia();
    if (recorded.isEmpty())
        return;
    const RecordedRace::Fix start = recorded.first().fixes.first();
    QList<Boat> &boats = m_events[eventId];
    for (int i = 0; i < recorded.size(); ++i) {
        const RecordedRace::Boat &r = recorded[i];
        // All boats move by the same offset, so they keep their places relative to each other.
        const RecordedRace::Fix first = r.fixes.first();
        const QList<RecordedRace::Fix> moved = RecordedRace::movedTo(
            r.fixes, lat + (first.lat - start.lat), lng + (first.lng - start.lng));
        Boat boat{firstId + i, r.name.mid(3), r.name, moved};
        boats.append(boat);
        m_boats.insert(boat.id, boat);
    }
}

QByteArray DemoServer::base() const
{
    return "http://127.0.0.1:" + QByteArray::number(port()) + '/';
}

HttpResponse DemoServer::respond(const HttpRequest &request) const
{
    const QString path = request.path();
    const QUrlQuery query = request.query();
    if (path == QLatin1String("/api/isup.html"))
        return HttpResponse::ok("OK");
    if (path == QLatin1String("/api/getBoats.php"))
        return boats(query.queryItemValue(QStringLiteral("rg")).toInt());
    if (path == QLatin1String("/api/getPosition.php"))
        return positions(query.queryItemValue(QStringLiteral("bo")).toInt(),
                         query.queryItemValue(QStringLiteral("la")).toInt());
    if (path == QLatin1String("/downloads/setup/brisavela.xml"))
        return HttpResponse::ok(feed(), "application/rss+xml");
    if (path == QLatin1String("/downloads/setup/releasenotes.html"))
        return HttpResponse::ok(QString::fromLatin1(releaseNotes).arg(m_options.offeredVersion).toLatin1(),
                                "text/html; charset=iso-8859-1");
    if (path.startsWith(QLatin1String("/downloads/setup/brisavela-")))
        return HttpResponse::ok(installer(), "application/octet-stream");
    return HttpResponse::error(404, "not here");
}

HttpResponse DemoServer::boats(int eventId) const
{
    QByteArray body;
    for (const Boat &b : m_events.value(eventId)) {
        const QStringList fields = {QStringLiteral("Jolle"), QString::number(b.id), QString(), b.startnr, b.name,
                                    QStringLiteral("Valencia"), QStringLiteral("-"), QString(),
                                    QString::number(b.fixes.first().time - 1), QString::number(eventId)};
        body += fields.join(QLatin1Char('|')).toUtf8() + '\n';
    }
    return HttpResponse::ok(body);
}

HttpResponse DemoServer::positions(int shipId, int since) const
{
    QByteArray body;
    const auto it = m_boats.constFind(shipId);
    if (it == m_boats.constEnd())
        return HttpResponse::ok(body);
    const QList<RecordedRace::Fix> &fixes = it->fixes;
    for (qsizetype i = 0; i < fixes.size(); ++i) {
        const RecordedRace::Fix &f = fixes[i];
        if (f.time <= since)
            continue;
        // The recording has no course; the course to the next fix stands in for it.
        const RecordedRace::Fix &next = fixes[std::min(i + 1, fixes.size() - 1)];
        const double dy = next.lat - f.lat;
        const double dx = (next.lng - f.lng) * std::cos(f.lat * 3.141592653589793 / 180.0);
        double course = std::atan2(dx, dy) * 180.0 / 3.141592653589793;
        if (course < 0)
            course += 360.0;
        body += QByteArray::number(f.lat, 'f', 7) + ';' + QByteArray::number(f.lng, 'f', 7) + ';'
                + QByteArray::number(f.time) + ';' + QByteArray::number(course, 'f', 1) + ";0\n";
    }
    return HttpResponse::ok(body);
}

QByteArray DemoServer::installer() const
{
    return "#!/bin/sh\n# Brisavela " + m_options.offeredVersion.toLatin1()
           + " demo installer: it only says hello.\necho 'Brisavela demo installer ran.'\n";
}

QByteArray DemoServer::feed() const
{
    const QByteArray version = m_options.offeredVersion.toLatin1();
    const QByteArray file = installer();
    QByteArray signature;
    if (!m_options.signingKey.isEmpty()) {
        const QByteArray secret = QByteArray::fromBase64(m_options.signingKey);
        if (secret.size() == crypto_sign_SECRETKEYBYTES) {
            unsigned char sig[crypto_sign_BYTES];
            crypto_sign_detached(sig, nullptr, reinterpret_cast<const unsigned char *>(file.constData()),
                                 quint64(file.size()), reinterpret_cast<const unsigned char *>(secret.constData()));
            signature = " sparkle:edSignature=\""
                        + QByteArray(reinterpret_cast<const char *>(sig), crypto_sign_BYTES).toBase64() + '"';
        }
    }
    const QByteArray date = QDateTime::currentDateTimeUtc().toString(Qt::RFC2822Date).toLatin1();
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"https://brisavela.org/xmlns/feed\" "
           "xmlns:brisavela=\"https://brisavela.org/xmlns/update\">\n"
           "<channel>\n<title>Brisavela</title>\n<link>" + base() + "</link>\n"
           "<item>\n<title>Brisavela " + version + "</title>\n"
           "<sparkle:releaseNotesLink>" + base() + "downloads/setup/releasenotes.html</sparkle:releaseNotesLink>\n"
           "<pubDate>" + date + "</pubDate>\n"
           "<enclosure url=\"" + base() + "downloads/setup/brisavela-" + version + ".run\" sparkle:version=\""
           + version + "\" brisavela:platform=\"Q_OS_LINUX\" brisavela:programType=\"FULL\" length=\""
           + QByteArray::number(file.size()) + "\" type=\"application/octet-stream\"" + signature + "/>\n"
           "</item>\n</channel>\n</rss>\n";
}
