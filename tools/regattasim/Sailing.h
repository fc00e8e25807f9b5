#pragma once

#include <QtGlobal>

// The weather and the boats' speed model of the simulated races. Everything here is a
// pure function of its inputs, so a simulated race comes out the same on every run.
namespace Sailing {

struct Wind
{
    double fromDegrees; // where the wind comes from, clockwise from north
    double knots;
};

// A wind that turns and breathes smoothly over the area and the hours, around a
// prevailing direction and strength, with an afternoon high.
class WindField
{
public:
    WindField(double fromDegrees, double knots, double phase);
    Wind at(double lat, double lng, qint64 time) const;

private:
    double m_from;
    double m_knots;
    double m_phase;
};

// Closest a boat sails to the wind; upwind it tacks at this angle.
inline constexpr double beatAngle = 42.0;

// Boat speed in knots for a true wind angle (0..180 degrees off the bow) and strength,
// for a boat that makes `baseKnots` on a reach in 12 knots of wind.
double boatSpeed(double trueWindAngle, double windKnots, double baseKnots);

// -180..180: how far `to` lies clockwise from `from`.
double angleBetween(double from, double to);
double normalized(double degrees);

} // namespace Sailing
