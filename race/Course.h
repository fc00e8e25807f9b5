#pragma once

#include "race/CourseMark.h"
#include "race/CoursePlane.h"

#include <QList>

#include <vector>

// The course of a race: the gates and marks to pass, in order, the first of them the start
// line where there is one and the last the finish. Built once; shared by every boat.
class Course
{
public:
    Course() = default;
    Course(const QList<CourseMark> &marks, bool startLine);

    bool isEmpty() const { return m_marks.isEmpty(); }
    int count() const { return int(m_marks.size()); }
    const CourseMark &mark(int i) const { return m_marks[i]; }
    const QList<CourseMark> &marks() const { return m_marks; }
    bool hasStartLine() const { return m_startLine; }

    // Kilometres from mark i's reference to the last mark's, through the references between.
    double lengthAfterKm(int i) const { return m_after[size_t(i)]; }
    // Kilometres from p to mark i: to the nearest point of a line, or to a point mark itself.
    double distanceToKm(int i, const GeoPoint &p) const;

    const CoursePlane &plane() const { return m_plane; }
    // Where a track leg from p to q meets mark i's passing line the way that counts, as a share
    // of the leg (0 < share <= 1), or -1. A leg that starts on the line does not cross it: the
    // leg that arrived there did.
    double crossing(int i, const PlanePoint &p, const PlanePoint &q) const;
    // Whether p lies beyond the start line, on the side a start leads to. False without a
    // start line, or when the course cannot tell the sides.
    bool isPastStartLine(const PlanePoint &p) const;

private:
    struct PassingLine
    {
        PlanePoint a;
        PlanePoint ab;
        // The sign of cross(ab, p - a) on the side a counting crossing comes from; 0: either.
        int beforeSign = 0;
    };

    PassingLine passingLine(int i) const;

    QList<CourseMark> m_marks;
    bool m_startLine = false;
    CoursePlane m_plane;
    std::vector<PassingLine> m_lines;
    std::vector<double> m_after{0.0};
    int m_startCourseSide = 0;
};
