#pragma once

#include "tools/regattasim/RaceDefinition.h"

class LandMask;
class WaterRouter;

// Sails one boat along its own way points (behind the start line first, the finish line
// last) in the race's wind, tacking upwind, and reports a position every minute until it
// has finished or the race window closes.
class BoatRun
{
public:
    static constexpr int reportSeconds = 60;

    BoatRun(const RaceDefinition &race, const FleetBoat &boat, const LandMask &land, const WaterRouter &router);
    QList<Fix> sail(QList<Waypoint> waypoints) const;

private:
    bool landAhead(const LatLng &p, double heading, double km) const;
    // Which side of its line a point lies on: true for the side the boat heads for.
    bool isPast(const Waypoint &w, const LatLng &p) const;

    const RaceDefinition &m_race;
    const FleetBoat &m_boat;
    const LandMask &m_land;
    const WaterRouter &m_router;
};
