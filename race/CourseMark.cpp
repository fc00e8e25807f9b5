#include "race/CourseMark.h"

#include "race/GateCatalogue.h"

namespace {
constexpr double pointKm = 0.001;
}

CourseMark CourseMark::line(const QString &name, const GeoPoint &a, const GeoPoint &b, double crossingCourse)
{
    CourseMark m;
    m.name = name;
    m.end1 = a;
    m.end2 = b;
    m.point = GeoPoint::distanceKm(a, b) < pointKm;
    m.reference = m.point ? a : GeoPoint::midpoint(a, b);
    m.crossingCourse = m.point ? std::numeric_limits<double>::quiet_NaN() : crossingCourse;
    return m;
}

CourseMark CourseMark::at(const QString &name, const GeoPoint &p, double reachKm)
{
    CourseMark m = line(name, p, p);
    m.reachKm = reachKm;
    return m;
}

CourseMark CourseMark::legEnd(const QString &name, const GeoPoint &from, const GeoPoint &to, double reachKm)
{
    CourseMark m = at(name, to, reachKm);
    m.hasLegStart = GeoPoint::distanceKm(from, to) >= pointKm;
    m.legStart = from;
    return m;
}

CourseMark CourseMark::fromGate(const GateDefinition &gate, double crossingCourse)
{
    const GeoPoint a(gate.lat1, gate.lng1);
    const GeoPoint b = gate.lat2 == 0 && gate.lng2 == 0 ? GeoPoint::destination(a, gate.length, gate.bearing)
                                                        : GeoPoint(gate.lat2, gate.lng2);
    CourseMark m = line(gate.name, a, b, crossingCourse);
    if (!m.point && !gate.midFlag)
        m.reference = a;
    return m;
}
