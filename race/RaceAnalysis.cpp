#include "race/RaceAnalysis.h"

#include "chart/Track.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this a time to catch up is no estimate but a guess.
constexpr double slowestKnots = 0.5;

enum class Group { Finished, Sailing, Unseen };

Group groupOf(const BoatState &s)
{
    if (s.finished)
        return Group::Finished;
    return s.hasPosition ? Group::Sailing : Group::Unseen;
}

// Whole seconds and whole metres, the finest the data can tell apart.
qint64 finishSecond(const BoatState &s)
{
    return std::llround(s.finishTime);
}

qint64 remainingMetres(const BoatState &s)
{
    return std::isnan(s.remainingNm) ? -1 : std::llround(s.remainingNm * 1852.0);
}

bool sameRank(const Standing &a, const Standing &b)
{
    const Group g = groupOf(a.state);
    if (g != groupOf(b.state))
        return false;
    switch (g) {
    case Group::Finished:
        return finishSecond(a.state) == finishSecond(b.state);
    case Group::Sailing:
        return a.state.marksPassed == b.state.marksPassed && remainingMetres(a.state) == remainingMetres(b.state);
    case Group::Unseen:
        return true;
    }
    return true;
}

// Start numbers are text; "2" goes before "10".
bool startnrBefore(const QString &a, const QString &b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong x = a.toLongLong(&aNumber);
    const qlonglong y = b.toLongLong(&bNumber);
    if (aNumber && bNumber && x != y)
        return x < y;
    if (aNumber != bNumber)
        return aNumber;
    return a < b;
}

bool ahead(const Standing &a, const Standing &b)
{
    const BoatState &s = a.state;
    const BoatState &t = b.state;
    const Group g = groupOf(s);
    if (g != groupOf(t))
        return g < groupOf(t);
    if (g == Group::Finished && s.finishTime != t.finishTime)
        return s.finishTime < t.finishTime;
    if (g == Group::Sailing) {
        if (s.marksPassed != t.marksPassed)
            return s.marksPassed > t.marksPassed;
        if (!std::isnan(s.remainingNm) && !std::isnan(t.remainingNm) && s.remainingNm != t.remainingNm)
            return s.remainingNm < t.remainingNm;
    }
    if (a.startnr != b.startnr)
        return startnrBefore(a.startnr, b.startnr);
    return a.boatId < b.boatId;
}

// Distance and estimated time from the leader to a boat.
void gap(const BoatState &leader, const BoatState &s, qint64 time, double &nm, double &seconds)
{
    nm = BoatState::unknown;
    seconds = BoatState::unknown;
    if (!leader.hasPosition || !s.hasPosition)
        return;
    const bool canEstimate = s.speedKnots >= slowestKnots;
    if (leader.finished) {
        if (s.finished) {
            nm = 0.0;
            seconds = s.finishTime - leader.finishTime;
            return;
        }
        nm = s.remainingNm;
        // The leader crossed the line at its finish time; this boat gets there after its
        // remaining distance at its present speed.
        if (canEstimate)
            seconds = double(time) - leader.finishTime + s.remainingNm / s.speedKnots * 3600.0;
        return;
    }
    if (std::isnan(leader.remainingNm) || std::isnan(s.remainingNm))
        return;
    // Gates passed come first, so a boat behind can be a little nearer to the finish by the
    // references' reckoning; it is not ahead for that.
    nm = std::max(0.0, s.remainingNm - leader.remainingNm);
    if (nm == 0.0)
        seconds = 0.0;
    else if (canEstimate)
        seconds = nm / s.speedKnots * 3600.0;
}

} // namespace

RaceAnalysis::RaceAnalysis()
    : m_course(std::make_shared<const Course>())
{
}

RaceAnalysis::RaceAnalysis(const Course &course, qint64 startTime)
    : m_course(std::make_shared<const Course>(course))
    , m_startTime(startTime)
{
}

void RaceAnalysis::setCourse(const Course &course, qint64 startTime)
{
    m_course = std::make_shared<const Course>(course);
    m_startTime = startTime;
    for (auto &[id, e] : m_boats)
        e.progress.setCourse(m_course, m_startTime);
}

RaceAnalysis::Entry &RaceAnalysis::entry(int boatId)
{
    auto it = m_boats.find(boatId);
    if (it == m_boats.end()) {
        RaceBoat boat;
        boat.id = boatId;
        it = m_boats.emplace(boatId, Entry{boat, BoatProgress(m_course, m_startTime)}).first;
    }
    return it->second;
}

void RaceAnalysis::setBoat(const RaceBoat &boat)
{
    entry(boat.id).boat = boat;
}

void RaceAnalysis::removeBoat(int boatId)
{
    m_boats.erase(boatId);
}

void RaceAnalysis::clear()
{
    m_boats.clear();
}

QList<int> RaceAnalysis::boatIds() const
{
    QList<int> ids;
    for (const auto &[id, e] : m_boats)
        ids.append(id);
    return ids;
}

const RaceBoat *RaceAnalysis::boat(int boatId) const
{
    const auto it = m_boats.find(boatId);
    return it == m_boats.end() ? nullptr : &it->second.boat;
}

int RaceAnalysis::addPositions(int boatId, std::vector<PositionFix> fixes)
{
    return entry(boatId).progress.add(std::move(fixes));
}

int RaceAnalysis::addPositions(int boatId, const Track &track, int from)
{
    std::vector<PositionFix> fixes;
    fixes.reserve(size_t(std::max(0, track.count() - from)));
    for (int i = std::max(0, from); i < track.count(); ++i) {
        const TrackPoint &p = track.point(i);
        fixes.push_back({p.position, p.time});
    }
    return addPositions(boatId, std::move(fixes));
}

const BoatProgress *RaceAnalysis::progress(int boatId) const
{
    const auto it = m_boats.find(boatId);
    return it == m_boats.end() ? nullptr : &it->second.progress;
}

Ranking RaceAnalysis::rankingAt(qint64 time) const
{
    QSet<int> all;
    for (const auto &[id, e] : m_boats)
        all.insert(id);
    return rankingAt(time, all);
}

Ranking RaceAnalysis::rankingAt(qint64 time, const QSet<int> &boats) const
{
    QList<Standing> rows;
    rows.reserve(boats.size());
    for (const int id : boats) {
        const auto it = m_boats.find(id);
        if (it == m_boats.end())
            continue;
        Standing s;
        s.boatId = id;
        s.startnr = it->second.boat.startnr;
        s.name = it->second.boat.name;
        s.klasse = it->second.boat.klasse;
        s.state = it->second.progress.stateAt(time);
        if (!s.state.finished && s.state.nextMark < m_course->count())
            s.nextMarkName = m_course->mark(s.state.nextMark).name;
        rows.append(s);
    }
    std::sort(rows.begin(), rows.end(), ahead);

    // One pass ranks the fleet and, boat by boat, each class.
    struct ClassTally
    {
        int seen = 0;
        int lastRank = 0;
        qsizetype leader = -1;
        qsizetype previous = -1;
    };
    QHash<QString, ClassTally> tallies;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        Standing &s = rows[i];
        s.rank = i > 0 && sameRank(rows[i - 1], s) ? rows[i - 1].rank : int(i) + 1;
        gap(rows.first().state, s.state, time, s.gapNm, s.gapSeconds);

        ClassTally &c = tallies[s.klasse];
        ++c.seen;
        if (c.leader < 0)
            c.leader = i;
        s.classRank = c.previous >= 0 && sameRank(rows[c.previous], s) ? c.lastRank : c.seen;
        c.lastRank = s.classRank;
        c.previous = i;
        gap(rows[c.leader].state, s.state, time, s.classGapNm, s.classGapSeconds);
    }
    return Ranking(time, rows);
}
