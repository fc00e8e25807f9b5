#include "tools/regattasim/BoatRun.h"

#include "tools/coastline/LandMask.h"
#include "tools/regattasim/WaterRouter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int stepSeconds = 20;
constexpr double reachKm = 0.25;
constexpr double lookaheadKm = 0.6;
// Nearer than this to a line's crossing point a boat heads for the point past the line.
constexpr double approachKm = 0.4;
// A boat that has not come this much nearer its aim in this time looks for another way.
constexpr double headwayKm = 0.15;
constexpr int headwaySeconds = 5 * 60;
constexpr double knotKmPerSecond = 1.852 / 3600.0;
// Sailing on a little after the report that shows it over the finish line, slowing down,
// before the tracker is off.
constexpr int afterFinishSeconds = 7 * 60;
} // namespace

BoatRun::BoatRun(const RaceDefinition &race, const FleetBoat &boat, const LandMask &land,
                 const WaterRouter &router)
    : m_race(race)
    , m_boat(boat)
    , m_land(land)
    , m_router(router)
{
}

bool BoatRun::isPast(const Waypoint &w, const LatLng &p) const
{
    const Passage &line = m_race.course[w.passage];
    return (Geo::sideOf(line.a, line.b, p) > 0) == (Geo::sideOf(line.a, line.b, w.beyond) > 0);
}

bool BoatRun::landAhead(const LatLng &p, double heading, double km) const
{
    for (double d = km / 3; d <= km + 1e-9; d += km / 3) {
        const LatLng q = Geo::destination(p, d, heading);
        if (m_land.isLand(q.lat, q.lng))
            return true;
    }
    return false;
}

QList<Fix> BoatRun::sail(QList<Waypoint> waypoints) const
{
    using namespace Sailing;
    QList<Fix> fixes;
    if (waypoints.size() < 2)
        return fixes;
    const quint32 seed = m_boat.seed;
    // Trackers do not all report on the same second; each boat waits behind the line until
    // its first report, so its reports show it crossing the start line.
    const int offset = int(Fleet::mix(seed, 11) % 3) * stepSeconds;
    const double corridorShare = 0.6 + 0.8 * Fleet::unit(seed, 12);

    LatLng pos = waypoints.first().at;
    LatLng legStart = pos;
    int target = 1;
    int tack = 0;
    qint64 lastTack = m_race.start - 3600;
    double heading = Geo::bearing(pos, waypoints[1].at);
    double speed = 0;
    qint64 finishedAt = 0;
    qint64 nextReport = m_race.start + offset;
    bool hasFix = false;
    LatLng lastFix;
    // Past a line but not yet seen past it: back over it, and across once more.
    bool comingBack = false;
    qint64 crossedAt = 0;
    // Headway: how near the way point was when last checked, and when.
    int checkedTarget = -1;
    qsizetype checkedCount = 0;
    double checkedKm = 1e9;
    qint64 checkedAt = 0;
    int reroutes = 0;
    qint64 struggleUntil = 0;

    // Ways that meet land from here are routed over open water, the turns put in before
    // the way point.
    auto routeTo = [&](const LatLng &to) {
        if (m_router.isClear(pos, to))
            return false;
        const QList<LatLng> detour = m_router.route(m_router.nearestClear(pos), to);
        QList<Waypoint> turns;
        if (!m_router.isClear(pos, detour.first()))
            turns.append({detour.first(), -1, {}, {}});
        for (qsizetype d = 1; d + 1 < detour.size(); ++d)
            turns.append({detour[d], -1, {}, {}});
        for (qsizetype d = turns.size() - 1; d >= 0; --d)
            waypoints.insert(target, turns[d]);
        return !turns.isEmpty();
    };
    auto advance = [&](const LatLng &from) {
        legStart = from;
        ++target;
        tack = 0;
        comingBack = false;
        crossedAt = 0;
        reroutes = 0;
        struggleUntil = 0;
        // A long line may be crossed far from where this boat meant to; go on from there.
        if (target < waypoints.size())
            routeTo(waypoints[target].at);
    };

    for (qint64 t = m_race.start + offset; t <= m_race.bis; t += stepSeconds) {
        if (t >= nextReport) {
            // A few metres of GPS scatter, the same on every run; none that would put the
            // boat ashore.
            const quint32 k = quint32(t / reportSeconds);
            LatLng shown{pos.lat + (Fleet::unit(seed ^ k, 21) - 0.5) * 0.00008,
                         pos.lng + (Fleet::unit(seed ^ k, 22) - 0.5) * 0.00011};
            if (m_land.isLand(shown.lat, shown.lng))
                shown = pos;
            const double shownCourse = normalized(heading + (Fleet::unit(seed ^ k, 23) - 0.5) * 6.0);
            fixes.append({shown.lat, shown.lng, nextReport, std::round(shownCourse * 10) / 10});
            nextReport += reportSeconds;
            // A line counts as passed when the reports, joined, cross it towards its far side.
            if (finishedAt == 0 && hasFix && waypoints[target].isPassage()) {
                const Waypoint &w = waypoints[target];
                const Passage &line = m_race.course[w.passage];
                if (Geo::segmentsMeet(lastFix, shown, line.a, line.b) && isPast(w, shown)) {
                    if (target + 1 == waypoints.size()) {
                        finishedAt = t;
                        speed = std::min(speed, 5.0);
                    } else {
                        advance(w.at);
                    }
                }
            }
            lastFix = shown;
            hasFix = true;
        }
        if (finishedAt > 0) {
            if (t - finishedAt >= afterFinishSeconds)
                break;
            speed *= 0.93;
            if (!landAhead(pos, heading, 0.2))
                pos = Geo::destination(pos, speed * knotKmPerSecond * stepSeconds, heading);
            continue;
        }

        Waypoint w = waypoints[target];
        if (!w.isPassage() && Geo::distanceKm(pos, w.at) < reachKm) {
            advance(w.at);
            w = waypoints[target];
        }
        LatLng to = w.at;
        if (w.isPassage()) {
            const Passage &line = m_race.course[w.passage];
            if (!isPast(w, pos)) {
                if (comingBack && Geo::distanceKm(pos, w.before) > 0.1) {
                    to = w.before;
                } else {
                    comingBack = false;
                    if (Geo::distanceKm(pos, w.at) < approachKm && Geo::segmentsMeet(pos, w.beyond, line.a, line.b))
                        to = w.beyond;
                }
            } else if (t - crossedAt <= 2 * reportSeconds + stepSeconds) {
                // Just over the line: on, until a report shows it.
                to = w.beyond;
            } else {
                // On the far side unseen, or come from there: back before the line, then over it.
                comingBack = true;
                to = w.before;
            }
        }

        // No headway towards the way point for a while: find a way from here over open water,
        // and where there is none (a shore on either tack dead upwind, or turning round a
        // line without being seen over it), pinch straight for the aim and crawl on for a
        // few minutes.
        if (target != checkedTarget || waypoints.size() != checkedCount) {
            checkedTarget = target;
            checkedCount = waypoints.size();
            checkedKm = Geo::distanceKm(pos, w.at);
            checkedAt = t;
        } else if (t - checkedAt >= headwaySeconds) {
            const double km = Geo::distanceKm(pos, w.at);
            if (km > checkedKm - headwayKm) {
                if (reroutes < 2 && routeTo(w.at)) {
                    ++reroutes;
                    legStart = pos;
                    tack = 0;
                    continue;
                }
                struggleUntil = t + 2 * headwaySeconds;
            }
            checkedKm = km;
            checkedAt = t;
        }

        const double toMark = Geo::bearing(pos, to);
        const Wind wind = m_race.wind.at(pos.lat, pos.lng, t);
        const double rel = angleBetween(wind.fromDegrees, toMark);
        const bool struggling = t < struggleUntil;
        if (struggling) {
            heading = toMark;
        } else if (std::abs(rel) < beatAngle) {
            // The mark lies upwind: beat towards it, tacking at the edges of a lane
            // around the direct line, which narrows as the mark comes closer.
            if (tack == 0)
                tack = rel >= 0 ? 1 : -1;
            heading = normalized(wind.fromDegrees + tack * beatAngle);
            const double legKm = Geo::distanceKm(legStart, to);
            const double lane = std::min(std::clamp(0.15 * legKm, 0.4, 3.0) * corridorShare,
                                         0.35 * Geo::distanceKm(pos, to) + 0.05);
            const double offLine = Geo::crossTrackKm(legStart, to, pos);
            const bool goingRight = angleBetween(toMark, heading) > 0;
            const bool outside = (goingRight && offLine > lane) || (!goingRight && offLine < -lane);
            const double otherHeading = normalized(wind.fromDegrees - tack * beatAngle);
            // Between close shores the boat short-tacks: it looks only a little ahead.
            double look = lookaheadKm;
            if (landAhead(pos, heading, look) && landAhead(pos, otherHeading, look))
                look = 0.2;
            const bool blocked = landAhead(pos, heading, look);
            const bool otherBlocked = landAhead(pos, otherHeading, look);
            if ((outside && t - lastTack >= 300 && !otherBlocked) || (blocked && t - lastTack >= 60 && !otherBlocked)) {
                tack = -tack;
                heading = otherHeading;
                lastTack = t;
            }
        } else {
            tack = 0;
            heading = toMark;
            // Off the wind a boat bears away from a shore ahead, to the nearer free side, but
            // never up into the wind.
            auto sailable = [&](double course) {
                return std::abs(angleBetween(wind.fromDegrees, course)) >= beatAngle
                       && !landAhead(pos, course, lookaheadKm);
            };
            for (int turn = 15; turn <= 75 && landAhead(pos, heading, lookaheadKm); turn += 15) {
                if (sailable(normalized(toMark + turn)))
                    heading = normalized(toMark + turn);
                else if (sailable(normalized(toMark - turn)))
                    heading = normalized(toMark - turn);
            }
        }
        auto step = [&](double course) {
            double knots = boatSpeed(std::abs(angleBetween(wind.fromDegrees, course)), wind.knots, m_boat.baseKnots);
            if (t - lastTack < 60)
                knots *= 0.55;
            if (struggling)
                knots = std::max(knots, 0.4 * boatSpeed(beatAngle, wind.knots, m_boat.baseKnots));
            return std::pair{knots, Geo::destination(pos, knots * knotKmPerSecond * stepSeconds, course)};
        };
        auto [knots, next] = step(heading);
        // Land right ahead: turn away from it, towards the aim first, rather than stand still.
        for (int turn = 20; turn <= 160 && m_land.isLand(next.lat, next.lng); turn += 20) {
            const double towards = angleBetween(heading, toMark) >= 0 ? 1.0 : -1.0;
            for (const double sign : {towards, -towards}) {
                const double course = normalized(heading + sign * turn);
                const auto [k, n] = step(course);
                if (k > 0.5 && m_land.isWater(n.lat, n.lng)) {
                    heading = course;
                    knots = k;
                    next = n;
                    break;
                }
            }
        }
        speed = knots;
        if (m_land.isLand(next.lat, next.lng))
            continue;
        if (w.isPassage()) {
            const Passage &line = m_race.course[w.passage];
            if (Geo::segmentsMeet(pos, next, line.a, line.b) && !isPast(w, pos))
                crossedAt = t;
        }
        pos = next;
    }
    return fixes;
}
