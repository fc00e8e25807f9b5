#pragma once

#include "chart/GeoPoint.h"

#include <QtGlobal>

// A position record as a boat's track hands it out: a stored position, or one interpolated
// between two of them.
struct TrackPoint
{
    GeoPoint position;
    // Course in degrees as reported (0 for positions read from the database).
    double course = 0.0;
    // The unused number of a position line (5.0 on interpolated records).
    float second = 0.0f;
    qint32 time = 0;
    // Place in the track the record was found in.
    qint32 index = 0;

    TrackPoint() = default;
    TrackPoint(double lat, double lng, qint32 t, double courseDegrees, double secondValue)
        : position(lat, lng)
        , course(courseDegrees)
        , second(float(secondValue))
        , time(t)
    {
    }
};
