#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The invented boats of a simulated race: who sails, in which class, and how fast.
struct FleetBoat
{
    int id;
    QString klasse;
    QString startnr;
    QString name;
    QString team;
    QString skipper;
    QString sailNumber;
    double baseKnots;  // speed on a reach in 12 knots of wind
    quint32 seed;      // everything else that differs from boat to boat
};

struct FleetClass
{
    QString name;
    int boats;
    double baseKnots;
};

namespace Fleet {
// Boats with ids firstId, firstId + 1, ...; the same arguments give the same fleet.
// Within a class the start numbers mix one- and two-digit numbers.
QList<FleetBoat> make(const QList<FleetClass> &classes, int firstId, quint32 seed);
// A small deterministic hash, the source of every "random" choice of the simulation.
quint32 mix(quint32 a, quint32 b);
double unit(quint32 a, quint32 b); // 0 <= result < 1
} // namespace Fleet
