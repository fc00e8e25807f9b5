#include "tools/regattasim/SimulatedRegatta.h"

#include "tools/coastline/LandMask.h"
#include "tools/regattasim/BoatRun.h"
#include "tools/regattasim/WaterRouter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double maskCell = 0.001;
constexpr double routerCell = 0.002;
// Lines longer than this are crossed where a boat's way meets them, not at a share.
constexpr double longLineKm = 3.0;
// Where the boats wait for the start signal, behind the start line.
constexpr double behindStartKm = 0.15;
// A boat crosses a line well inside its ends.
constexpr double endMarginKm = 0.3;
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
        m_tracks.insert(boat.id, BoatRun(m_definition, boat, *m_land, *m_router).sail(waypoints(boat)));
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
        t = best + (share - 0.5) * 2.0 / lengthKm;
    } else {
        t = 0.25 + 0.5 * share;
    }
    // On the line, clear of its ends and of the shores, as near to the chosen place as the
    // water allows: a boat heading there crosses the line.
    const double margin = lengthKm > 4 * endMarginKm ? endMarginKm / lengthKm : 0.25;
    t = std::clamp(t, margin, 1.0 - margin);
    // A line close inshore (a finish off a harbour) has no clear point: then any water on it.
    const double step = std::min(0.05 / std::max(lengthKm, 0.01), 0.05);
    for (const bool clearOnly : {true, false}) {
        for (int k = 0; k * step <= 1.0; ++k) {
            for (const double candidate : {t + k * step, t - k * step}) {
                const LatLng point = Geo::between(p.a, p.b, candidate);
                if (candidate >= margin && candidate <= 1.0 - margin
                    && (clearOnly ? m_router->isClear(point, point) : m_land->isWater(point.lat, point.lng)))
                    return point;
            }
        }
    }
    return m_router->nearestClear(Geo::between(p.a, p.b, t));
}

double SimulatedRegatta::acrossLine(int index, const LatLng &from) const
{
    const Passage &p = m_definition.course[index];
    const double along = Geo::bearing(p.a, p.b);
    if (!std::isnan(p.towards))
        return std::abs(Sailing::angleBetween(along + 90.0, p.towards)) <= 90.0 ? along + 90.0 : along - 90.0;
    return Geo::sideOf(p.a, p.b, from) < 0 ? along - 90.0 : along + 90.0;
}

LatLng SimulatedRegatta::pastLine(const LatLng &at, double course, double km) const
{
    for (double d = km; d > 0.05; d -= 0.05) {
        const LatLng q = Geo::destination(at, d, course);
        if (m_router->isClear(at, q))
            return q;
    }
    return Geo::destination(at, 0.1, course);
}

QList<Waypoint> SimulatedRegatta::waypoints(const FleetBoat &boat) const
{
    const qsizetype passages = m_definition.course.size();
    QList<Waypoint> points;
    auto addLine = [&](int index, const LatLng &at) {
        const double across = acrossLine(index, points.last().at);
        const double km = m_definition.course[index].pastKm;
        points.append({at, index, pastLine(at, across, km), pastLine(at, across + 180.0, km)});
    };
    // The leg's shared way, each turn moved a little to this boat's side where the water
    // allows; a part that would touch land is routed for this boat alone.
    auto legTurns = [&](qsizetype leg) {
        const QList<LatLng> &shared = m_legRoutes[leg];
        const double side = (Fleet::unit(boat.seed, quint32(200 + leg)) - 0.5) * 0.8;
        QList<LatLng> inner;
        for (qsizetype k = 1; k + 1 < shared.size(); ++k) {
            const double across = Geo::bearing(shared[k - 1], shared[k + 1]) + 90.0;
            const LatLng moved = Geo::destination(shared[k], side, across);
            inner.append(m_router->isClear(shared[k], moved) ? moved : shared[k]);
        }
        return inner;
    };

    const LatLng start = passagePoint(0, boat);
    const QList<LatLng> firstTurns = legTurns(0);
    const LatLng ahead = firstTurns.isEmpty() ? passagePoint(1, boat) : firstTurns.first();
    // Away from the way ahead, unless the start line says which way it is crossed.
    const double back = std::isnan(m_definition.course[0].towards) ? acrossLine(0, ahead)
                                                                   : acrossLine(0, ahead) + 180.0;
    points.append({pastLine(start, back, behindStartKm), -1, {}, {}});
    addLine(0, start);
    for (qsizetype i = 0; i + 1 < passages; ++i) {
        QList<LatLng> inner = i == 0 ? firstTurns : legTurns(i);
        const LatLng next = passagePoint(int(i + 1), boat);
        inner.append(next);
        // A boat leaves a line from the point past it.
        LatLng at = points.last().beyond;
        for (qsizetype k = 0; k < inner.size(); ++k) {
            const LatLng &p = inner[k];
            if (!m_router->isClear(at, p)) {
                const QList<LatLng> detour = m_router->route(at, p);
                for (qsizetype d = 1; d + 1 < detour.size(); ++d)
                    points.append({detour[d], -1, {}, {}});
            }
            if (k + 1 < inner.size())
                points.append({p, -1, {}, {}});
            else
                addLine(int(i + 1), p);
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
