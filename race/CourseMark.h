#pragma once

#include "chart/GeoPoint.h"

#include <QString>

#include <limits>

struct GateDefinition;

// One gate or mark of a course, as the race analysis passes it.
//
// A line is passed when a boat's track crosses the segment between its two ends, touching
// it included; where `crossingCourse` is set, only a crossing heading that way (within 90
// degrees either side) counts, so a boat that comes back over a finish line has not finished.
//
// A point (a gate whose ends coincide, or the end of a leg of a route) has no line to cross,
// so one is laid across the course through it, `reachKm` to either side: square to the
// course there (the bisector of the way in and the way out), or square to the way in where
// the course turns back by more than 120 degrees, since a bisector then runs along the legs.
// It counts only in the course's direction. A boat passing the point within `reachKm`,
// or cutting the corner of a bend by about that much, has passed it; one further off has not.
struct CourseMark
{
    static constexpr double defaultReachKm = 1.852;

    QString name;
    GeoPoint end1;
    GeoPoint end2;
    // Where the course's length runs through: the gate's anchor, that is its middle, or the
    // mark itself for a line drawn out from an island.
    GeoPoint reference;
    // Degrees; NaN lets either way count.
    double crossingCourse = std::numeric_limits<double>::quiet_NaN();
    double reachKm = defaultReachKm;
    bool point = false;
    // The end of a route's leg: the way in is the leg itself, not the way from the mark before.
    bool hasLegStart = false;
    GeoPoint legStart;

    bool isDirected() const { return crossingCourse == crossingCourse; }

    static CourseMark line(const QString &name, const GeoPoint &a, const GeoPoint &b,
                           double crossingCourse = std::numeric_limits<double>::quiet_NaN());
    static CourseMark at(const QString &name, const GeoPoint &p, double reachKm = defaultReachKm);
    static CourseMark legEnd(const QString &name, const GeoPoint &from, const GeoPoint &to,
                             double reachKm = defaultReachKm);
    // A catalogue gate: the second end derived as the gate item derives it, the reference at
    // its anchor. Ends less than a metre apart make a point.
    static CourseMark fromGate(const GateDefinition &gate,
                               double crossingCourse = std::numeric_limits<double>::quiet_NaN());
};
