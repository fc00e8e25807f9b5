#pragma once

#include "tools/coastline/Coastline.h"
#include "tools/demodata/RecordedRace.h"
#include "tools/demoserver/TileService.h"
#include "tools/httpserver/LocalHttpServer.h"
#include "tools/regattasim/SimulatedRegatta.h"

#include <QHash>

#include <functional>
#include <memory>

// The bundled demo tracking server: simulated fleets for the seeded races and for a race
// that is running now, the recorded dinghies as one more event, the reachability probe,
// chart tiles drawn from the coastline, and an update feed.
class DemoServer : public QObject
{
    Q_OBJECT
public:
    // The recorded dinghies sail under this event; no seeded race shows them.
    static constexpr int recordedEventId = 900;

    struct Options
    {
        quint16 port = 8380;
        // The version the feed offers; the running version means "no update".
        QString offeredVersion = QStringLiteral(BRISAVELA_VERSION);
        // Base64 Ed25519 secret key to sign the offered installer with; empty: unsigned.
        QByteArray signingKey;
        // Start of the live race, seconds since 1970.
        qint64 liveStart = 0;
        // Where drawn tiles are kept between runs; empty: in memory only.
        QString tileCache;
        // "Now" for the window of every race; the real clock when empty.
        std::function<qint64()> clock;
    };

    explicit DemoServer(const Options &options);
    ~DemoServer() override;
    bool listen();
    quint16 port() const { return m_server.port(); }
    QString coastlineProblem() const { return m_coastline.isEmpty() ? Coastline::adriaticPath() : QString(); }
    LocalHttpServer &http() { return m_server; }

    // The simulated race of an event, worked out on first use; nullptr for an unknown event.
    const SimulatedRegatta *regatta(int eventId);

    // One boat of the boat list, and one position report, as the protocol has them.
    static QByteArray boatLine(const FleetBoat &boat, qint64 firstTime, int eventId);
    static QByteArray positionLine(const Fix &fix);

private:
    HttpResponse respond(const HttpRequest &request);
    HttpResponse boats(int eventId);
    HttpResponse positions(int eventId, int boatId, qint64 after);
    HttpResponse recordedBoats() const;
    HttpResponse recordedPositions(int boatId, qint64 after) const;
    HttpResponse tile(const QString &path);
    qint64 now() const;
    QByteArray feed() const;
    QByteArray installer() const;
    QByteArray base() const;

    Options m_options;
    LocalHttpServer m_server;
    Coastline m_coastline;
    std::unique_ptr<TileService> m_tiles;
    QHash<int, RaceDefinition> m_definitions;
    QHash<int, std::shared_ptr<SimulatedRegatta>> m_regattas;
    QList<RecordedRace::Boat> m_recorded;
};
