#pragma once

#include "race/RegattaHost.h"

#include <QList>
#include <QString>

// Stands in for the window around the race model: records every call the model makes.
class RecordingHost : public RegattaHost
{
public:
    struct Request
    {
        QString url;
        int tag;
        int kind;
    };
    struct ClassGroup
    {
        QString className;
        QList<Ship *> ships;
        int row;
    };

    void setRegatta(Regatta *r) override { regatta = r; }
    void addRaces(const QList<Race> &r, int eventId, int taskId) override
    {
        races = r;
        rememberedEvent = eventId;
        rememberedTask = taskId;
    }
    void addGates(const QList<GateItem *> &gates) override { listedGates = gates; }
    void placeGates(const QList<GateItem *> &gates) override { placedGates.append(gates); }
    void placeShip(Ship *ship) override { placedShips.append(ship); }
    void clearBoatList() override
    {
        ++boatListsCleared;
        groups.clear();
    }
    void addClassGroup(const QString &className, const QList<Ship *> &ships, int row) override
    {
        groups.append({className, ships, row});
    }
    void boatListComplete() override { ++boatListsCompleted; }
    void startRequest(const QString &url, int tag, int kind) override { requests.append({url, tag, kind}); }
    void setTimeRange(int minimum, int maximum) override
    {
        rangeMinimum = minimum;
        rangeMaximum = maximum;
    }
    void setTimeValue(int value) override { timeValue = value; }
    void setUhrzeit(int tstamp) override { uhrzeit = tstamp; }
    void setNetLedOff() override { ++netLedOff; }
    void tracksChanged() override { ++tracksChangedCalls; }
    void setAutoLoad(bool on) override
    {
        autoLoadFlag = on;
        calls << (on ? QStringLiteral("setAutoLoad(true)") : QStringLiteral("setAutoLoad(false)"));
    }
    void disableAutoLoad() override
    {
        autoLoadFlag = false;
        calls << QStringLiteral("disableAutoLoad");
    }
    void enableLoading() override { calls << QStringLiteral("enableLoading"); }
    bool autoLoad() const override { return autoLoadFlag; }

    QList<Request> requestsOfKind(int kind) const
    {
        QList<Request> result;
        for (const Request &r : requests) {
            if (r.kind == kind)
                result << r;
        }
        return result;
    }

    Regatta *regatta = nullptr;
    QList<Race> races;
    int rememberedEvent = 0;
    int rememberedTask = 0;
    QList<GateItem *> listedGates;
    // Every list handed to placeGates, in order (an empty one takes gates off).
    QList<QList<GateItem *>> placedGates;
    QList<Ship *> placedShips;
    int boatListsCleared = 0;
    int boatListsCompleted = 0;
    QList<ClassGroup> groups;
    QList<Request> requests;
    int rangeMinimum = 0;
    int rangeMaximum = 0;
    int timeValue = 0;
    int uhrzeit = 0;
    int netLedOff = 0;
    int tracksChangedCalls = 0;
    bool autoLoadFlag = true;
    QStringList calls;
};
