#pragma once

#include "store/Race.h"
#include "store/Services.h"

#include <QList>
#include <QString>

class GateItem;
class RegattaHost;
class Ship;

// The race model: the list of races and, for the loaded race, its gates and boats with
// their tracks. Decides what comes from the database and what is asked of the tracking
// server. One instance, created after the main window.
class Regatta
{
public:
    Regatta(RegattaHost *host, int eventId, int taskId, Services services);
    ~Regatta();

    void loadRace(const Race &race);
    void initGates(int eventId, int taskId);
    void reloadGates();
    void initShips(int eventId, int taskId, int von, bool showCompleteTracks);
    // Reads the boats of an event into ships() and the participant list; the number of
    // boats now in the list, 0 when none could be read.
    int loadShipsDB(int eventId, int taskId);
    bool loadShipPosDB(Ship *ship);
    void initShip(Ship *ship, bool simplifyTrack, int index, int lastget);
    // Places the ready boats and sets the time range from their positions.
    void reloadShips();
    // The boats of the loaded event read anew from the database, replacing the list, each
    // with its stored positions.
    int replaceShipsFromDB(int eventId);
    // One position request per boat, from its lastget on.
    void loadShipsNewPos();

    // Keeps the race record in step when the user switches complete tracks for a race.
    void setShowCompleteTracks(int raceId, bool on);

    QList<Ship *> ships() const { return m_ships; }
    QList<Race> races() const { return m_races; }
    QList<GateItem *> gates() const { return m_gates; }
    int raceId() const { return m_raceId; }
    int eventId() const { return m_eventId; }
    int taskId() const { return m_taskId; }
    QString raceName() const { return m_raceName; }
    int fetchThreshold() const { return m_fetchThreshold; }
    // Changes whenever the boat list is rebuilt, so that an answer to a request sent for
    // an earlier list can be told apart.
    int shipsGeneration() const { return m_shipsGeneration; }

    // Base addresses of the two tracking-server endpoints.
    QString boatListUrl() const;
    QString positionUrl() const;
    QString positionQuery(int eventId, int taskId, int shipId, int since) const;

private:
    void initRegatta(RegattaHost *host, int eventId, int taskId);
    void initRaces();
    void deleteShips();

    Services m_services;
    RegattaHost *m_host = nullptr;
    int m_raceId = 0;
    int m_eventId;
    int m_taskId;
    QString m_raceName;
    int m_fetchThreshold = 0;
    bool m_showCompleteTracks = false;
    int m_shipsGeneration = 0;
    QList<Ship *> m_ships;
    QList<Race> m_races;
    QList<GateItem *> m_gates;
};
