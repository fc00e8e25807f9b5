#pragma once

#include "tools/demodata/RecordedRace.h"
#include "tools/httpserver/LocalHttpServer.h"

#include <QHash>

// The bundled demo tracking server: the recorded race's boats for the seeded races, their
// positions after the time asked for, the reachability probe, and an update feed.
class DemoServer : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        quint16 port = 8380;
        // The version the feed offers; the running version means "no update".
        QString offeredVersion = QStringLiteral("2.24.0");
        // Base64 Ed25519 secret key to sign the offered installer with; empty: unsigned.
        QByteArray signingKey;
    };

    explicit DemoServer(const Options &options);
    bool listen();
    quint16 port() const { return m_server.port(); }
    int boatCount() const;

private:
    struct Boat
    {
        int id;
        QString startnr;
        QString name;
        QList<RecordedRace::Fix> fixes;
    };

    void addEvent(int eventId, double lat, double lng, int firstId);
    HttpResponse respond(const HttpRequest &request) const;
    HttpResponse boats(int eventId) const;
    HttpResponse positions(int shipId, int since) const;
    QByteArray feed() const;
    QByteArray installer() const;
    QByteArray base() const;

    Options m_options;
    LocalHttpServer m_server;
    QHash<int, QList<Boat>> m_events;
    QHash<int, Boat> m_boats;
};
