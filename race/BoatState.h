#pragma once

#include "chart/GeoPoint.h"

#include <limits>

// Where a boat stands in the race at one replay time. Distances in nautical miles, speeds
// in knots, times in seconds since 1970 (with fractions: crossings are interpolated).
// NaN stands for "not known".
struct BoatState
{
    static constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

    // False before the boat's first position: it then has no place, speed or distances.
    bool hasPosition = false;
    GeoPoint position;
    // Gates and marks passed, in course order; the index of the next one.
    int marksPassed = 0;
    int nextMark = 0;
    bool finished = false;
    double finishTime = unknown;
    // From the race's start time; without one from the boat's own start, and without a
    // start line from its first position.
    double elapsedSeconds = unknown;
    // To the nearest point of the next gate's line, or to the next mark.
    double distanceToNextNm = unknown;
    // To the next gate, then from gate to gate through their references to the finish.
    double remainingNm = unknown;
    // Over the minute around the time (the last minute at the end of a track), straight
    // from where the boat was to where it got: a tack or a wobble does not add speed.
    double speedKnots = unknown;
    double courseDegrees = unknown;
};
