#include "tools/regattasim/BoatRun.h"

#include "tools/coastline/LandMask.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int stepSeconds = 20;
constexpr double reachKm = 0.25;
constexpr double lookaheadKm = 0.6;
constexpr double knotKmPerSecond = 1.852 / 3600.0;
// Sailing on a little after the finish line, slowing down, before the tracker is off.
constexpr int afterFinishSeconds = 8 * 60;
} // namespace

BoatRun::BoatRun(const RaceDefinition &race, const FleetBoat &boat, const LandMask &land)
    : m_race(race)
    , m_boat(boat)
    , m_land(land)
{
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

QList<Fix> BoatRun::sail(const QList<LatLng> &waypoints) const
{
    using namespace Sailing;
    QList<Fix> fixes;
    if (waypoints.size() < 2)
        return fixes;
    const quint32 seed = m_boat.seed;
    // Trackers do not all report on the same second.
    const int offset = int(Fleet::mix(seed, 11) % 3) * stepSeconds;
    const double corridorShare = 0.6 + 0.8 * Fleet::unit(seed, 12);

    LatLng pos = waypoints.first();
    LatLng legStart = pos;
    int target = 1;
    int tack = 0;
    qint64 lastTack = m_race.start - 3600;
    double heading = Geo::bearing(pos, waypoints[1]);
    double speed = 0;
    qint64 finishedAt = 0;
    qint64 nextReport = m_race.start + offset;

    for (qint64 t = m_race.start; t <= m_race.bis; t += stepSeconds) {
        if (t >= nextReport) {
            // A few metres of GPS scatter, the same on every run.
            const quint32 k = quint32(t / reportSeconds);
            const double dLat = (Fleet::unit(seed ^ k, 21) - 0.5) * 0.00008;
            const double dLng = (Fleet::unit(seed ^ k, 22) - 0.5) * 0.00011;
            const double shownCourse = normalized(heading + (Fleet::unit(seed ^ k, 23) - 0.5) * 6.0);
            fixes.append({pos.lat + dLat, pos.lng + dLng, nextReport, std::round(shownCourse * 10) / 10});
            nextReport += reportSeconds;
        }
        if (finishedAt > 0) {
            if (t - finishedAt >= afterFinishSeconds)
                break;
            speed *= 0.93;
            if (!landAhead(pos, heading, 0.2))
                pos = Geo::destination(pos, speed * knotKmPerSecond * stepSeconds, heading);
            continue;
        }

        const LatLng goal = waypoints[target];
        const double distance = Geo::distanceKm(pos, goal);
        if (distance < reachKm) {
            legStart = goal;
            if (++target == waypoints.size()) {
                finishedAt = t;
                speed = std::min(speed, 5.0);
                continue;
            }
            tack = 0;
        }
        const LatLng to = waypoints[target];
        const double toMark = Geo::bearing(pos, to);
        const Wind wind = m_race.wind.at(pos.lat, pos.lng, t);
        const double rel = angleBetween(wind.fromDegrees, toMark);
        if (std::abs(rel) < beatAngle) {
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
            const bool blocked = landAhead(pos, heading, lookaheadKm);
            const double otherHeading = normalized(wind.fromDegrees - tack * beatAngle);
            const bool otherBlocked = landAhead(pos, otherHeading, lookaheadKm);
            if ((outside && t - lastTack >= 300 && !otherBlocked) || (blocked && t - lastTack >= 60 && !otherBlocked)) {
                tack = -tack;
                heading = otherHeading;
                lastTack = t;
            } else if (blocked && otherBlocked) {
                // No room to tack between the shores: pinch up along the way point's line,
                // which is clear water, and accept the slow going.
                heading = toMark;
            }
        } else {
            tack = 0;
            heading = toMark;
            // Off the wind a boat bears away from a shore ahead, to the nearer free side.
            for (int turn = 15; turn <= 75 && landAhead(pos, heading, lookaheadKm); turn += 15) {
                if (!landAhead(pos, normalized(toMark + turn), lookaheadKm))
                    heading = normalized(toMark + turn);
                else if (!landAhead(pos, normalized(toMark - turn), lookaheadKm))
                    heading = normalized(toMark - turn);
            }
        }
        const double twa = std::abs(angleBetween(wind.fromDegrees, heading));
        speed = boatSpeed(twa, wind.knots, m_boat.baseKnots);
        if (t - lastTack < 60)
            speed *= 0.55;
        const LatLng next = Geo::destination(pos, speed * knotKmPerSecond * stepSeconds, heading);
        if (!m_land.isLand(next.lat, next.lng))
            pos = next;
    }
    return fixes;
}
