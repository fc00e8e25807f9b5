#pragma once

#include "chart/GeoPoint.h"

#include <algorithm>
#include <limits>

class Track;

// Speed and course over ground at a time, taken straight from where the boat was to where it
// got over the minute around it (the last minute at the end of a track): GPS jitter and a
// tack inside the minute do not add speed. Positions carry no course of their own, so this
// is where a readout gets one.
struct GroundMotion
{
    static constexpr double windowSeconds = 60.0;
    static constexpr double kmPerNauticalMile = 1.852;

    // NaN when not known: no minute of track around the time, or (course) no way made.
    double speedKnots = std::numeric_limits<double>::quiet_NaN();
    double courseDegrees = std::numeric_limits<double>::quiet_NaN();

    bool hasSpeed() const { return speedKnots == speedKnots; }
    bool hasCourse() const { return courseDegrees == courseDegrees; }

    // positionAt(double time) -> GeoPoint for any time from firstTime to lastTime, the times of
    // the track's first and last positions.
    template <typename PositionAt>
    static GroundMotion around(double time, double firstTime, double lastTime, PositionAt &&positionAt)
    {
        GroundMotion m;
        const double hi = std::min(time + windowSeconds / 2.0, lastTime);
        const double lo = std::max(firstTime, hi - windowSeconds);
        if (hi - lo < 1.0)
            return m;
        const GeoPoint a = positionAt(lo);
        const GeoPoint b = positionAt(hi);
        const double km = GeoPoint::distanceKm(a, b);
        m.speedKnots = km / (hi - lo) * 3600.0 / kmPerNauticalMile;
        if (km > 0.0)
            m.courseDegrees = GeoPoint::bearing(a, b);
        return m;
    }

    // The same over a boat's track.
    static GroundMotion around(const Track &track, double time);
};
