#include "race/BoatProgress.h"

#include "chart/GroundMotion.h"

#include <algorithm>

namespace {
constexpr double kmPerNm = GroundMotion::kmPerNauticalMile;

bool earlier(const PositionFix &a, const PositionFix &b)
{
    return a.time < b.time;
}
} // namespace

BoatProgress::BoatProgress(std::shared_ptr<const Course> course, qint64 startTime)
    : m_course(course ? std::move(course) : std::make_shared<const Course>())
    , m_startTime(startTime)
{
}

void BoatProgress::setCourse(std::shared_ptr<const Course> course, qint64 startTime)
{
    m_course = course ? std::move(course) : std::make_shared<const Course>();
    m_startTime = startTime;
    recompute(0);
}

int BoatProgress::add(std::vector<PositionFix> fixes)
{
    const int before = int(m_fixes.size());
    if (fixes.empty())
        return before;
    std::stable_sort(fixes.begin(), fixes.end(), earlier);
    fixes.erase(std::unique(fixes.begin(), fixes.end(),
                            [](const PositionFix &a, const PositionFix &b) { return a.time == b.time; }),
                fixes.end());

    int firstChanged = before;
    if (m_fixes.empty() || fixes.front().time > m_fixes.back().time) {
        m_fixes.insert(m_fixes.end(), fixes.begin(), fixes.end());
    } else {
        fixes.erase(std::remove_if(fixes.begin(), fixes.end(),
                                   [this](const PositionFix &f) {
                                       return std::binary_search(m_fixes.begin(), m_fixes.end(), f, earlier);
                                   }),
                    fixes.end());
        if (fixes.empty())
            return before;
        firstChanged = int(std::lower_bound(m_fixes.begin(), m_fixes.end(), fixes.front(), earlier) - m_fixes.begin());
        m_fixes.insert(m_fixes.end(), fixes.begin(), fixes.end());
        std::inplace_merge(m_fixes.begin(), m_fixes.begin() + before, m_fixes.end(), earlier);
    }
    recompute(firstChanged);
    return firstChanged;
}

void BoatProgress::recompute(int firstChanged)
{
    if (firstChanged <= 0) {
        m_passings.clear();
        const Course &c = *m_course;
        if (c.hasStartLine() && m_startTime > 0 && !m_fixes.empty() && m_fixes.front().time >= m_startTime
            && c.isPastStartLine(c.plane().toPlane(m_fixes.front().position))) {
            m_passings.push_back({0, double(m_fixes.front().time), -1, 0.0});
        }
        scan(0);
        return;
    }
    // Legs before the one that ends at the first changed position are as they were.
    const int firstLeg = firstChanged - 1;
    while (!m_passings.empty() && m_passings.back().leg >= firstLeg)
        m_passings.pop_back();
    scan(firstLeg);
}

void BoatProgress::scan(int firstLeg)
{
    const Course &c = *m_course;
    const CoursePlane &plane = c.plane();
    const int marks = c.count();
    int next = int(m_passings.size());
    for (int leg = std::max(0, firstLeg); leg + 1 < int(m_fixes.size()) && next < marks; ++leg) {
        const PositionFix &f = m_fixes[size_t(leg)];
        const PositionFix &g = m_fixes[size_t(leg) + 1];
        const PlanePoint p = plane.toPlane(f.position);
        const PlanePoint q = plane.toPlane(g.position);
        // One leg may pass several gates; each is looked for beyond the one before.
        double from = 0.0;
        while (next < marks && from < 1.0) {
            const double u = c.crossing(next, from == 0.0 ? p : p + from * (q - p), q);
            if (u < 0.0)
                break;
            const double share = from + u * (1.0 - from);
            const double time = f.time + share * (g.time - f.time);
            if (m_startTime > 0 && time < double(m_startTime))
                break;
            m_passings.push_back({next, time, leg, share});
            ++next;
            from = share;
        }
    }
}

GeoPoint BoatProgress::positionAt(double time) const
{
    if (m_fixes.empty())
        return {};
    if (time <= m_fixes.front().time)
        return m_fixes.front().position;
    if (time >= m_fixes.back().time)
        return m_fixes.back().position;
    const auto after = std::upper_bound(m_fixes.begin(), m_fixes.end(), time,
                                        [](double t, const PositionFix &f) { return t < f.time; });
    const PositionFix &b = *after;
    const PositionFix &a = *(after - 1);
    const double s = (time - a.time) / double(b.time - a.time);
    return {a.position.lat + s * (b.position.lat - a.position.lat),
            a.position.lng + s * (b.position.lng - a.position.lng)};
}

BoatState BoatProgress::stateAt(qint64 time) const
{
    const Course &c = *m_course;
    BoatState s;
    const auto passedEnd = std::upper_bound(m_passings.begin(), m_passings.end(), double(time),
                                            [](double t, const Passing &p) { return t < p.time; });
    s.marksPassed = int(passedEnd - m_passings.begin());
    s.nextMark = s.marksPassed;
    s.finished = !c.isEmpty() && s.marksPassed == c.count();
    if (s.finished) {
        s.finishTime = m_passings.back().time;
        const double from = m_startTime > 0 ? double(m_startTime)
                            : c.hasStartLine() ? m_passings.front().time
                                               : double(m_fixes.front().time);
        s.elapsedSeconds = s.finishTime - from;
    }
    if (m_fixes.empty() || time < m_fixes.front().time)
        return s;

    s.hasPosition = true;
    s.position = positionAt(double(time));
    if (s.finished) {
        s.remainingNm = 0.0;
    } else if (!c.isEmpty()) {
        const double km = c.distanceToKm(s.nextMark, s.position);
        s.distanceToNextNm = km / kmPerNm;
        s.remainingNm = (km + c.lengthAfterKm(s.nextMark)) / kmPerNm;
    }

    const GroundMotion motion = GroundMotion::around(double(time), double(m_fixes.front().time),
                                                     double(m_fixes.back().time),
                                                     [this](double t) { return positionAt(t); });
    s.speedKnots = motion.speedKnots;
    s.courseDegrees = motion.courseDegrees;
    return s;
}
