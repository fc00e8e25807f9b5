#pragma once

#include "race/Race.h"

#include <QList>
#include <QString>

class GateItem;
class IconSelector;
class Karte;
class Regatta;
class Scheme;

// What the race model needs of the window that shows it. The main window implements it;
// the calls and their order are those of the window.
class RegattaHost
{
public:
    // Kinds of tracking-server request.
    static constexpr int boatListRequest = 2;
    static constexpr int positionRequest = 3;

    virtual ~RegattaHost() = default;

    virtual void setRegatta(Regatta *regatta) = 0;
    virtual void addRaces(const QList<Race> &races, int eventId, int taskId) = 0;
    virtual void addGates(const QList<GateItem *> &gates) = 0;
    virtual void startRequest(const QString &url, int tag, int kind) = 0;
    virtual void setTimeRange(int minimum, int maximum) = 0;
    virtual void setTimeValue(int value) = 0;
    virtual void setUhrzeit(int tstamp) = 0;
    virtual void setNetLedOff() = 0;
    virtual void setAutoLoad(bool on) = 0;
    virtual void disableAutoLoad() = 0;
    virtual void enableLoading() = 0;
    virtual bool autoLoad() const = 0;
    virtual IconSelector *participantList() const = 0;
    virtual Karte *chart() const = 0;
    virtual Scheme *scene() const = 0;
};
