#include "tools/regattasim/SimulatedRegatta.h"

#include "tools/coastline/LandMask.h"
#include "tools/regattasim/BoatRun.h"
#include "tools/regattasim/WaterRouter.h"

#include <algorithm>

namespace {
constexpr double maskCell = 0.001;
constexpr double routerCell = 0.002;
// Lines longer than this are crossed where a boat's way meets them, not at a share.
constexpr double longLineKm = 3.0;
} // namespace

SimulatedRegatta::SimulatedRegatta(const RaceDefinition &definition, const Coastline &coastline)
    : m_definition(definition)
{
    const double *a = m_definition.area;
    m_land = std::make_unique<LandMask>(coastline, a[0], a[1], a[2], a[3], maskCell);
    m_router = std::make_unique<WaterRouter>(*m_land, a[0], a[1], a[2], a[3], routerCell);
    m_boats = Fleet::make(m_definition.classes, m_definition.firstBoatId, m_definition.seed);
    for (FleetBoat &boat : m_boats) {
        if (boat.id == m_definition.boatIdReplacedBy38)
            boat.id = 38;
    }
    const QList<Passage> &course = m_definition.course;
    for (qsizetype i = 0; i + 1 < course.size(); ++i) {
        const LatLng from = Geo::between(course[i].a, course[i].b, 0.5);
        const LatLng to = Geo::between(course[i + 1].a, course[i + 1].b, 0.5);
        m_legRoutes.append(m_router->route(m_router->nearestClear(from), m_router->nearestClear(to)));
    }
    for (const FleetBoat &boat : m_boats)
        m_tracks.insert(boat.id, BoatRun(m_definition, boat, *m_land).sail(waypoints(boat)));
}

SimulatedRegatta::~SimulatedRegatta() = default;

LatLng SimulatedRegatta::passagePoint(int index, const FleetBoat &boat) const
{
    const QList<Passage> &course = m_definition.course;
    const Passage &p = course[index];
    const double share = Fleet::unit(boat.seed, quint32(100 + index));
    const double lengthKm = Geo::distanceKm(p.a, p.b);
    double t;
    if (lengthKm > longLineKm && index > 0 && index + 1 < course.size()) {
        // Where the line meets the way from the passage before to the one after,
        // give or take a kilometre.
        const LatLng before = Geo::between(course[index - 1].a, course[index - 1].b, 0.5);
        const LatLng after = Geo::between(course[index + 1].a, course[index + 1].b, 0.5);
        const LatLng middle = Geo::between(before, after, 0.5);
        double best = 0.5;
        double bestKm = 1e9;
        for (int k = 0; k <= 100; ++k) {
            const double km = Geo::distanceKm(Geo::between(p.a, p.b, k / 100.0), middle);
            if (km < bestKm) {
                bestKm = km;
                best = k / 100.0;
            }
        }
        t = std::clamp(best + (share - 0.5) * 2.0 / lengthKm, 0.02, 0.98);
    } else {
        t = 0.25 + 0.5 * share;
    }
    const LatLng point = Geo::between(p.a, p.b, t);
    return m_land->isWater(point.lat, point.lng) ? point : m_router->nearestClear(point);
}

QList<LatLng> SimulatedRegatta::waypoints(const FleetBoat &boat) const
{
    const qsizetype passages = m_definition.course.size();
    QList<LatLng> points{passagePoint(0, boat)};
    for (qsizetype i = 0; i + 1 < passages; ++i) {
        const LatLng next = passagePoint(int(i + 1), boat);
        // The leg's shared way, each turn moved a little to this boat's side where the
        // water allows; a part that would touch land is routed for this boat alone.
        const QList<LatLng> &shared = m_legRoutes[i];
        const double side = (Fleet::unit(boat.seed, quint32(200 + i)) - 0.5) * 0.8;
        QList<LatLng> inner;
        for (qsizetype k = 1; k + 1 < shared.size(); ++k) {
            const double across = Geo::bearing(shared[k - 1], shared[k + 1]) + 90.0;
            const LatLng moved = Geo::destination(shared[k], side, across);
            inner.append(m_router->isClear(shared[k], moved) ? moved : shared[k]);
        }
        inner.append(next);
        LatLng at = points.last();
        for (const LatLng &p : inner) {
            if (!m_router->isClear(at, p)) {
                const QList<LatLng> detour = m_router->route(at, p);
                points.append(detour.mid(1, detour.size() - 2));
            }
            points.append(p);
            at = p;
        }
    }
    return points;
}

QList<Fix> SimulatedRegatta::reportsAfter(int boatId, qint64 after, qint64 now) const
{
    const qint64 until = std::min(m_definition.bis, now);
    QList<Fix> result;
    for (const Fix &f : m_tracks.value(boatId)) {
        if (f.time > after && f.time <= until)
            result.append(f);
    }
    return result;
}
