#pragma once

#include "race/PositionFix.h"

#include <cmath>
#include <initializer_list>
#include <vector>

// Synthetic courses and tracks drawn in kilometres east and north of a point in the
// Adriatic, so a test reads like a sketch on squared paper.
namespace SeaChart {

inline constexpr qint32 t0 = 1713175200;

inline GeoPoint km(double east, double north)
{
    constexpr double kmPerDegree = 6371.0 / Geo::degreesPerRadian;
    return {43.0 + north / kmPerDegree, 16.0 + east / (kmPerDegree * std::cos(Geo::radians(43.0)))};
}

struct Step
{
    double east;
    double north;
    qint32 seconds; // after t0
};

inline std::vector<PositionFix> track(std::initializer_list<Step> steps)
{
    std::vector<PositionFix> fixes;
    for (const Step &s : steps)
        fixes.push_back({km(s.east, s.north), t0 + s.seconds});
    return fixes;
}

} // namespace SeaChart
