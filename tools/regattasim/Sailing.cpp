#include "tools/regattasim/Sailing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Sailing {

namespace {
constexpr double twoPi = 6.283185307179586;

// Share of the reaching speed, by true wind angle: nothing head to wind, most on a
// beam reach, a little less dead downwind.
constexpr double polar[][2] = {
    {0, 0.0},     {30, 0.25},   {beatAngle, 0.66}, {55, 0.8},    {75, 0.92},
    {95, 1.0},    {115, 0.99},  {135, 0.91},       {155, 0.79},  {180, 0.68},
};
} // namespace

WindField::WindField(double fromDegrees, double knots, double phase)
    : m_from(fromDegrees)
    , m_knots(knots)
    , m_phase(phase)
{
}

Wind WindField::at(double lat, double lng, qint64 time) const
{
    const double h = double(time) / 3600.0;
    // Slow swings over hours, shorter ones that differ from place to place.
    const double direction = m_from + 14.0 * std::sin(twoPi * h / 9.0 + m_phase + lat * 2.1)
                             + 7.0 * std::sin(twoPi * h / 2.7 + 3.0 * m_phase + lng * 4.3 + lat * 1.7)
                             + 3.0 * std::sin(twoPi * h / 0.9 + lng * 9.0);
    // Strongest in the early afternoon (UTC+2 local).
    const double daily = std::sin(twoPi * (h - 8.0) / 24.0);
    const double knots = m_knots * (1.0 + 0.25 * daily) + 2.2 * std::sin(twoPi * h / 3.3 + lat * 5.0 + m_phase)
                         + 1.0 * std::sin(twoPi * h / 1.3 + lng * 7.0);
    return {normalized(direction), std::max(3.0, knots)};
}

double boatSpeed(double trueWindAngle, double windKnots, double baseKnots)
{
    const double a = std::clamp(std::abs(trueWindAngle), 0.0, 180.0);
    double share = 0.0;
    for (size_t i = 1; i < std::size(polar); ++i) {
        if (a <= polar[i][0]) {
            const double t = (a - polar[i - 1][0]) / (polar[i][0] - polar[i - 1][0]);
            share = polar[i - 1][1] + t * (polar[i][1] - polar[i - 1][1]);
            break;
        }
    }
    // More wind, more speed, but less than in proportion.
    const double strength = std::pow(std::max(windKnots, 0.0) / 12.0, 0.55);
    return std::min(baseKnots * share * strength, baseKnots * 1.45);
}

double normalized(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

double angleBetween(double from, double to)
{
    double d = normalized(to - from);
    if (d > 180.0)
        d -= 360.0;
    return d;
}

} // namespace Sailing
