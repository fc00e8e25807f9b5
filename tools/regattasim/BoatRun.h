#pragma once

#include "tools/regattasim/RaceDefinition.h"

class LandMask;

// Sails one boat along its own way points (the start first, the finish last) in the
// race's wind, tacking upwind, and reports a position every minute until it has
// finished or the race window closes.
class BoatRun
{
public:
    static constexpr int reportSeconds = 60;

    BoatRun(const RaceDefinition &race, const FleetBoat &boat, const LandMask &land);
    QList<Fix> sail(const QList<LatLng> &waypoints) const;

private:
    bool landAhead(const LatLng &p, double heading, double km) const;

    const RaceDefinition &m_race;
    const FleetBoat &m_boat;
    const LandMask &m_land;
};
