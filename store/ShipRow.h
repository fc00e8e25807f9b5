#pragma once

#include <QString>

// One row of table ship: a boat of an event as stored.
struct ShipRow
{
    int id = 0;
    int regattaId = 0;
    QString klasse;
    QString name;
    QString team;
    QString skipper;
    QString startnr;
    QString farbe;
    bool show = true;
    bool follow = false;
    int lastget = 0;
};
