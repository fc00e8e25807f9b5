#pragma once

#include "tools/regattasim/Fleet.h"
#include "tools/regattasim/Geo.h"
#include "tools/regattasim/Sailing.h"

#include <QList>
#include <QString>

#include <limits>

// A line the boats cross on their way; each boat picks its own place on it.
struct Passage
{
    LatLng a;
    LatLng b;
    // The way across that counts, in degrees; NaN for either way (then the way the boat
    // comes from decides).
    double towards = std::numeric_limits<double>::quiet_NaN();
    // How far past the line a boat heads for once near it: far enough that its next report
    // shows it over the line; less where the line only marks a turn of the way.
    double pastKm = 0.4;
};

// A point a boat sails by. On a line of the course it counts as passed only once the boat's
// reports show it over the line, for which the boat heads on to a point a little past it.
struct Waypoint
{
    LatLng at;
    // The index of the course's line it lies on, -1 for a turn of the way between lines.
    int passage = -1;
    LatLng beyond;
    // As far before the line, where a boat on the wrong side goes back to.
    LatLng before;

    bool isPassage() const { return passage >= 0; }
};

// Everything that makes one simulated race: when, where, who and in what wind.
struct RaceDefinition
{
    int eventId = 0;
    qint64 von = 0;    // positions are served from here ...
    qint64 bis = 0;    // ... up to here (or the present moment, whichever is earlier)
    qint64 start = 0;  // the start signal
    Sailing::WindField wind{0, 0, 0};
    QList<FleetClass> classes;
    int firstBoatId = 0;
    quint32 seed = 0;
    // The boat that gets id 38 instead of its own, 0 for none (the viewer never shows it).
    int boatIdReplacedBy38 = 0;
    // Start line first, finish line last.
    QList<Passage> course;
    // The sea area the boats stay in: west, south, east, north.
    double area[4] = {0, 0, 0, 0};
};

// A position report as the tracker sends it.
struct Fix
{
    double lat;
    double lng;
    qint64 time;
    double course;
};
