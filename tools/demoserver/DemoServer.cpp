#include "tools/demoserver/DemoServer.h"

#include "tools/regattasim/RaceBook.h"

#include <QDateTime>
#include <QRegularExpression>

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
    m_coastline.load(Coastline::adriaticPath());
    m_tiles = std::make_unique<TileService>(m_coastline, m_options.tileCache);
    for (const RaceDefinition &race : RaceBook::seeded())
        m_definitions.insert(race.eventId, race);
    m_definitions.insert(RaceBook::liveEventId, RaceBook::live(m_options.liveStart));
    // The recorded dinghies sail one more event, off Valencia, where they were recorded.
    m_recorded = RecordedRace::valencia();
    m_server.setHandler([this](const HttpRequest &request) { return respond(request); });
    // A viewer asks for thousands of tiles and positions; nobody reads a log of them here.
    m_server.setKeepLog(false);
}

DemoServer::~DemoServer() = default;

bool DemoServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, m_options.port);
}

qint64 DemoServer::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentSecsSinceEpoch();
}

const SimulatedRegatta *DemoServer::regatta(int eventId)
{
    if (const auto it = m_regattas.constFind(eventId); it != m_regattas.constEnd())
        return it->get();
    const auto definition = m_definitions.constFind(eventId);
    if (definition == m_definitions.constEnd())
        return nullptr;
    auto simulated = std::make_shared<SimulatedRegatta>(*definition, m_coastline);
    m_regattas.insert(eventId, simulated);
    return simulated.get();
}

QByteArray DemoServer::base() const
{
    return "http://127.0.0.1:" + QByteArray::number(port()) + '/';
}

HttpResponse DemoServer::respond(const HttpRequest &request)
{
    const QString path = request.path();
    const QUrlQuery query = request.query();
    if (path == QLatin1String("/api/isup.html"))
        return HttpResponse::ok("OK");
    if (path == QLatin1String("/api/getBoats.php"))
        return boats(query.queryItemValue(QStringLiteral("rg")).toInt());
    if (path == QLatin1String("/api/getPosition.php"))
        return positions(query.queryItemValue(QStringLiteral("rg")).toInt(),
                         query.queryItemValue(QStringLiteral("bo")).toInt(),
                         query.queryItemValue(QStringLiteral("la")).toLongLong());
    if (path == QLatin1String("/downloads/setup/brisavela.xml"))
        return HttpResponse::ok(feed(), "application/rss+xml");
    if (path == QLatin1String("/downloads/setup/releasenotes.html"))
        return HttpResponse::ok(QString::fromLatin1(releaseNotes).arg(m_options.offeredVersion).toLatin1(),
                                "text/html; charset=iso-8859-1");
    if (path.startsWith(QLatin1String("/downloads/setup/brisavela-")))
        return HttpResponse::ok(installer(), "application/octet-stream");
    if (path.endsWith(QLatin1String(".png")))
        return tile(path);
    return HttpResponse::error(404, "not here");
}

QByteArray DemoServer::boatLine(const FleetBoat &boat, qint64 firstTime, int eventId)
{
    const QStringList fields = {boat.klasse, QString::number(boat.id), boat.sailNumber, boat.startnr,
                                boat.name,   boat.team,                boat.skipper,    QString(),
                                QString::number(firstTime), QString::number(eventId)};
    return fields.join(QLatin1Char('|')).toUtf8() + '\n';
}

QByteArray DemoServer::positionLine(const Fix &fix)
{
    return QByteArray::number(fix.lat, 'f', 6) + ';' + QByteArray::number(fix.lng, 'f', 6) + ';'
           + QByteArray::number(fix.time) + ';' + QByteArray::number(fix.course, 'f', 1) + ";0\n";
}

HttpResponse DemoServer::boats(int eventId)
{
    if (eventId == recordedEventId)
        return recordedBoats();
    QByteArray body;
    if (const SimulatedRegatta *race = regatta(eventId)) {
        // Positions are wanted from the window's opening on.
        for (const FleetBoat &boat : race->boats())
            body += boatLine(boat, race->definition().von, eventId);
    }
    return HttpResponse::ok(body);
}

HttpResponse DemoServer::positions(int eventId, int boatId, qint64 after)
{
    if (eventId == recordedEventId)
        return recordedPositions(boatId, after);
    QByteArray body;
    if (const SimulatedRegatta *race = regatta(eventId)) {
        for (const Fix &fix : race->reportsAfter(boatId, after, now()))
            body += positionLine(fix);
    }
    return HttpResponse::ok(body);
}

HttpResponse DemoServer::recordedBoats() const
{
    QByteArray body;
    for (qsizetype i = 0; i < m_recorded.size(); ++i) {
        const RecordedRace::Boat &b = m_recorded[i];
        const QStringList fields = {QStringLiteral("Jolle"), QString::number(90001 + i), QString(), b.name.mid(3),
                                    b.name, QStringLiteral("Valencia"), QStringLiteral("-"), QString(),
                                    QString::number(b.fixes.first().time - 1), QString::number(recordedEventId)};
        body += fields.join(QLatin1Char('|')).toUtf8() + '\n';
    }
    return HttpResponse::ok(body);
}

HttpResponse DemoServer::recordedPositions(int boatId, qint64 after) const
{
    QByteArray body;
    const qsizetype index = boatId - 90001;
    if (index < 0 || index >= m_recorded.size())
        return HttpResponse::ok(body);
    const QList<RecordedRace::Fix> &fixes = m_recorded[index].fixes;
    for (qsizetype i = 0; i < fixes.size(); ++i) {
        const RecordedRace::Fix &f = fixes[i];
        if (f.time <= after)
            continue;
        // The recording has no course; the course to the next fix stands in for it.
        const RecordedRace::Fix &next = fixes[std::min(i + 1, fixes.size() - 1)];
        const double course = Geo::bearing({f.lat, f.lng}, {next.lat, next.lng});
        body += positionLine({f.lat, f.lng, f.time, course});
    }
    return HttpResponse::ok(body);
}

HttpResponse DemoServer::tile(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral("^/(\\d{1,2})/(\\d{1,7})/(\\d{1,7})\\.png$"));
    const QRegularExpressionMatch m = pattern.match(path);
    if (!m.hasMatch())
        return HttpResponse::error(404, "not here");
    const QByteArray png = m_tiles->png(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (png.isEmpty())
        return HttpResponse::error(404, "no such tile");
    return HttpResponse::ok(png, "image/png");
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
