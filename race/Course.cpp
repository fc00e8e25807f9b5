#include "race/Course.h"

#include <cmath>

namespace {
int signOf(double v)
{
    return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0);
}

PlanePoint unit(const PlanePoint &v)
{
    const double l = length(v);
    return l > 0.0 ? PlanePoint{v.x / l, v.y / l} : PlanePoint{};
}

bool isZero(const PlanePoint &v)
{
    return v.x == 0.0 && v.y == 0.0;
}

// A way that turns by more than this is a rounding: the bisector would lie along the legs.
const double roundingCos = std::cos(Geo::radians(120.0));
} // namespace

Course::Course(const QList<CourseMark> &marks, bool startLine)
    : m_marks(marks)
    , m_startLine(startLine && !marks.isEmpty())
{
    if (m_marks.isEmpty())
        return;
    double lat = 0.0;
    double lng = 0.0;
    for (const CourseMark &m : m_marks) {
        lat += m.reference.lat;
        lng += m.reference.lng;
    }
    m_plane = CoursePlane(GeoPoint(lat / count(), lng / count()));

    m_after.assign(size_t(count()), 0.0);
    for (int i = count() - 2; i >= 0; --i)
        m_after[size_t(i)] =
            m_after[size_t(i) + 1] + GeoPoint::distanceKm(m_marks[i].reference, m_marks[i + 1].reference);

    for (int i = 0; i < count(); ++i)
        m_lines.push_back(passingLine(i));

    if (m_startLine) {
        const PassingLine &s = m_lines.front();
        if (s.beforeSign != 0)
            m_startCourseSide = -s.beforeSign;
        else if (count() > 1)
            m_startCourseSide = signOf(cross(s.ab, m_plane.toPlane(m_marks[1].reference) - s.a));
    }
}

Course::PassingLine Course::passingLine(int i) const
{
    const CourseMark &m = m_marks[i];
    PassingLine line;
    if (!m.point) {
        line.a = m_plane.toPlane(m.end1);
        line.ab = m_plane.toPlane(m.end2) - line.a;
        if (m.isDirected()) {
            const double h = Geo::radians(m.crossingCourse);
            const PlanePoint heading{std::sin(h), std::cos(h)};
            // A course along the line tells no side; such a gate counts either way.
            const double side = cross(unit(line.ab), heading);
            line.beforeSign = std::abs(side) > 1e-6 ? -signOf(side) : 0;
        }
        return line;
    }

    const PlanePoint at = m_plane.toPlane(m.end1);
    PlanePoint in;
    if (m.hasLegStart)
        in = unit(at - m_plane.toPlane(m.legStart));
    else if (i > 0)
        in = unit(at - m_plane.toPlane(m_marks[i - 1].reference));
    const PlanePoint out = i + 1 < count() ? unit(m_plane.toPlane(m_marks[i + 1].reference) - at) : PlanePoint{};

    PlanePoint along;
    if (!isZero(in) && !isZero(out))
        along = dot(in, out) < roundingCos ? in : unit(in + out);
    else
        along = isZero(in) ? out : in;
    if (isZero(along)) {
        // A mark with no way in or out: an east-west line, either way.
        line.a = at - PlanePoint{m.reachKm, 0.0};
        line.ab = {2.0 * m.reachKm, 0.0};
        return line;
    }
    const PlanePoint across{-along.y, along.x};
    line.a = at - m.reachKm * across;
    line.ab = (2.0 * m.reachKm) * across;
    line.beforeSign = -signOf(cross(line.ab, along));
    return line;
}

double Course::distanceToKm(int i, const GeoPoint &p) const
{
    const CourseMark &m = m_marks[i];
    return m.point ? GeoPoint::distanceKm(p, m.end1) : CoursePlane::distanceToSegmentKm(p, m.end1, m.end2);
}

double Course::crossing(int i, const PlanePoint &p, const PlanePoint &q) const
{
    const PassingLine &g = m_lines[size_t(i)];
    const double sp = cross(g.ab, p - g.a);
    const double sq = cross(g.ab, q - g.a);
    if (sp == 0.0)
        return -1.0;
    if (sq != 0.0 && (sp > 0.0) == (sq > 0.0))
        return -1.0;
    if (g.beforeSign != 0 && signOf(sp) != g.beforeSign)
        return -1.0;
    // The leg's line must meet the segment, its ends included.
    const PlanePoint pq = q - p;
    const double ta = cross(pq, g.a - p);
    const double tb = cross(pq, g.a + g.ab - p);
    if ((ta > 0.0 && tb > 0.0) || (ta < 0.0 && tb < 0.0))
        return -1.0;
    return sp / (sp - sq);
}

bool Course::isPastStartLine(const PlanePoint &p) const
{
    if (m_startCourseSide == 0)
        return false;
    const PassingLine &s = m_lines.front();
    return signOf(cross(s.ab, p - s.a)) == m_startCourseSide;
}
