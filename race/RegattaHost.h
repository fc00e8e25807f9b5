#pragma once

#include "store/Race.h"

#include <QList>
#include <QString>

class GateItem;
class Regatta;
class Ship;

// What the race model asks of the program around it, in its own terms: show races, gates
// and boats, fetch from the tracking server, set the replay range, switch automatic
// loading. The main window implements it; tests use a recorder.
class RegattaHost
{
public:
    // Kinds of tracking-server request.
    static constexpr int boatListRequest = 2;
    static constexpr int positionRequest = 3;

    virtual ~RegattaHost() = default;

    virtual void setRegatta(Regatta *regatta) = 0;
    virtual void addRaces(const QList<Race> &races, int eventId, int taskId) = 0;
    // The gate menu lists these gates.
    virtual void addGates(const QList<GateItem *> &gates) = 0;
    // The gates on the chart, placed now and on every refresh; an empty list takes the old
    // ones off before they are deleted.
    virtual void placeGates(const QList<GateItem *> &gates) = 0;
    // A boat on the chart (once; placing it again changes nothing).
    virtual void placeShip(Ship *ship) = 0;
    // The participant list: emptied, filled class by class, then shown whole.
    virtual void clearBoatList() = 0;
    virtual void addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow) = 0;
    virtual void boatListComplete() = 0;
    virtual void startRequest(const QString &url, int tag, int kind) = 0;
    virtual void setTimeRange(int minimum, int maximum) = 0;
    virtual void setTimeValue(int value) = 0;
    virtual void setUhrzeit(int tstamp) = 0;
    virtual void setNetLedOff() = 0;
    virtual void setAutoLoad(bool on) = 0;
    virtual void disableAutoLoad() = 0;
    virtual void enableLoading() = 0;
    virtual bool autoLoad() const = 0;
    // Positions came into the boats' tracks, or the boats were read anew: what is worked
    // out from the tracks (ranking, speed colours) is out of date.
    virtual void tracksChanged() = 0;
};
