#pragma once

#include "tests/support/RaceData.h"
#include "tools/httpserver/LocalHttpServer.h"

#include <QHash>
#include <QStringList>

// A tracking server on 127.0.0.1: boat lists per event and positions per boat from data
// the test gives it, positions after the request's "la" only. Every request is logged; any
// endpoint can be made to fail.
class TrackingServerFixture : public QObject
{
    Q_OBJECT
public:
    enum class Fault { None, ServerError, ResetMidBody, Stall, Garbage, CloseBeforeAnswer };

    static constexpr char boatsPath[] = "/api/getBoats.php";
    static constexpr char positionsPath[] = "/api/getPosition.php";
    static constexpr char probePath[] = "/api/isup.html";

    TrackingServerFixture();

    // Base URL with a trailing slash, as the trackingServerUrl setting takes it.
    QUrl baseUrl() const { return m_server.baseUrl(); }
    LocalHttpServer &server() { return m_server; }
    QList<HttpRequest> requests(const char *path) const { return m_server.requestsTo(QLatin1String(path)); }
    QList<HttpRequest> positionRequests(int shipId) const;

    void setBoats(int eventId, const QStringList &lines) { m_boats.insert(eventId, lines); }
    void setPositions(int shipId, const QList<RaceData::Fix> &fixes) { m_positions.insert(shipId, fixes); }
    // A body sent as it is, whatever the request asks.
    void setPositionBody(int shipId, const QByteArray &body) { m_rawPositions.insert(shipId, body); }
    // Bodies sent as they are, one per request in turn; the last one is sent again and again.
    void setPositionBodies(int shipId, const QList<QByteArray> &bodies) { m_bodyQueues.insert(shipId, bodies); }
    // Also sends the position at "la" itself, as servers that compare with >= do.
    void setRepeatsLastPosition(bool on) { m_repeatsLast = on; }
    void setFault(const char *path, Fault fault) { m_faults.insert(QLatin1String(path), fault); }
    void setDelay(const char *path, int milliseconds) { m_delays.insert(QLatin1String(path), milliseconds); }
    // The positions of one boat answered after that long (those given by setPositions).
    void setShipDelay(int shipId, int milliseconds) { m_shipDelays.insert(shipId, milliseconds); }
    void clearFaults();

    static QString boatLine(const QString &klasse, int id, const QString &startnr, const QString &name,
                            const QString &team, const QString &skipper, int firstTime, int raceId);
    static QByteArray positionLine(const RaceData::Fix &fix, double course = 45.0);

private:
    HttpResponse respond(const HttpRequest &request);
    HttpResponse withFault(const QString &path, HttpResponse response) const;

    LocalHttpServer m_server;
    QHash<int, QStringList> m_boats;
    QHash<int, QList<RaceData::Fix>> m_positions;
    QHash<int, QByteArray> m_rawPositions;
    QHash<int, QList<QByteArray>> m_bodyQueues;
    bool m_repeatsLast = false;
    QHash<QString, Fault> m_faults;
    QHash<QString, int> m_delays;
    QHash<int, int> m_shipDelays;
};
