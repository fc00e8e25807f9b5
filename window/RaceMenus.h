#pragma once

#include "store/Race.h"

#include <QAction>
#include <QList>
#include <QMenu>

class GateItem;
class QAction;
class QMenu;

// The menus "&Regatten" and "&Gates": one entry per race and per gate, and which races or
// gates an entry's text names (every one whose name is a prefix of it, in list order).
class RaceMenus
{
public:
    RaceMenus(QMenu *races, QMenu *gates);

    // Lists the races, each entry connected to the receiver's slot; returns the race of that
    // event and task (the last one if several), or none.
    template <typename Receiver>
    const Race *setRaces(const QList<Race> &races, int eventId, int taskId, Receiver *receiver, void (Receiver::*slot)())
    {
        m_races = races;
        const Race *remembered = nullptr;
        for (const Race &race : std::as_const(m_races)) {
            logAddRace();
            QObject::connect(m_raceMenu->addAction(race.name), &QAction::triggered, receiver, slot);
            if (race.eventId == eventId && race.taskId == taskId)
                remembered = &race;
        }
        return remembered;
    }

    template <typename Receiver>
    void setGates(const QList<GateItem *> &gates, Receiver *receiver, void (Receiver::*slot)())
    {
        m_gates = gates;
        m_gateMenu->clear();
        for (const QString &name : gateNames())
            QObject::connect(m_gateMenu->addAction(name), &QAction::triggered, receiver, slot);
    }

    QList<Race> racesNamedBy(const QAction *entry) const;
    QList<GateItem *> gatesNamedBy(const QAction *entry) const;
    // The race records, changed where the user changed a race's setting.
    QList<Race> races() const { return m_races; }
    // The user changed the race's choice of complete tracks: choosing it again keeps it.
    void setShowCompleteTracks(int raceId, bool on)
    {
        for (Race &race : m_races) {
            if (race.id == raceId)
                race.showCompleteTracks = on;
        }
    }
    const QList<GateItem *> &gates() const { return m_gates; }

private:
    static void logAddRace();
    QStringList gateNames() const;

    QMenu *m_raceMenu;
    QMenu *m_gateMenu;
    QList<Race> m_races;
    QList<GateItem *> m_gates;
};
