#pragma once

#include "tools/regattasim/RaceDefinition.h"

#include <QHash>
#include <QList>

#include <memory>

class Coastline;
class LandMask;
class WaterRouter;

// One simulated race: its fleet and every boat's positions, worked out once from the
// definition, the coastline and nothing else, so every run gives the same race.
class SimulatedRegatta
{
public:
    SimulatedRegatta(const RaceDefinition &definition, const Coastline &coastline);
    ~SimulatedRegatta();

    const RaceDefinition &definition() const { return m_definition; }
    const QList<FleetBoat> &boats() const { return m_boats; }
    // The whole track of a boat, in time order; empty for a boat not in this race.
    QList<Fix> track(int boatId) const { return m_tracks.value(boatId); }
    // The reports after `after` up to the end of the window or `now`, whichever is earlier.
    QList<Fix> reportsAfter(int boatId, qint64 after, qint64 now) const;
    // The way points a boat sails by: a point behind the start line first, then every line
    // of the course with the turns between them, the finish line last.
    QList<Waypoint> waypoints(const FleetBoat &boat) const;

private:
    LatLng passagePoint(int index, const FleetBoat &boat) const;
    // The heading square to the line that crosses it the way that counts, or else away
    // from the side `from` lies on.
    double acrossLine(int index, const LatLng &from) const;
    // A clear point `km` or less from `at` on that heading.
    LatLng pastLine(const LatLng &at, double course, double km) const;

    RaceDefinition m_definition;
    QList<FleetBoat> m_boats;
    QHash<int, QList<Fix>> m_tracks;
    std::unique_ptr<LandMask> m_land;
    std::unique_ptr<WaterRouter> m_router;
    // Per leg, the way over open water between the middles of its two passages.
    QList<QList<LatLng>> m_legRoutes;
};
