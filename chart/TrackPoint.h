#pragma once

#include "chart/GeoPoint.h"

#include <QtGlobal>

// One position of a boat. Kept small: a large race holds millions of them.
struct TrackPoint
{
    GeoPoint position;
    // Course in degrees as reported (0 for positions read from the database). Kept exact:
    // the sprite frame is the course truncated, and a float would round 44.9999999 up to 45.
    double course = 0.0;
    // The unused number of a position line (5.0 on interpolated records).
    float second = 0.0f;
    qint32 time = 0;
    // Place in the track the record was found in; set by Ship::positionAt.
    qint32 index : 31;
    // Kept by the track simplification.
    bool keep : 1;

    TrackPoint()
        : index(0)
        , keep(false)
    {
    }
    TrackPoint(double lat, double lng, qint32 t, double courseDegrees, double secondValue)
        : position(lat, lng)
        , course(courseDegrees)
        , second(float(secondValue))
        , time(t)
        , index(0)
        , keep(false)
    {
    }
};

static_assert(sizeof(TrackPoint) == 40, "a track point should stay at 40 bytes");
