#pragma once

#include <QString>

// One boat of a tracking server's boat list, as table ship keeps it.
struct BoatRow
{
    QString klasse;
    int id = 0;
    QString startnr;
    QString name;
    QString team;
    QString skipper;
    int firstTime = 0;
    int raceId = 0;
};
