#pragma once

#include "race/BoatState.h"
#include "race/Course.h"
#include "race/PositionFix.h"

#include <memory>
#include <vector>

// One boat's way round a course: its positions in time order and the gates it has passed,
// worked out once and kept up to date as positions come in, so that asking where the boat
// stands at a replay time costs two binary searches.
//
// Gates count only in course order: a gate crossed before the one ahead of it is still
// open counts for nothing, and after a missed mark nothing more counts until the boat goes
// back for it. Nothing crossed before the race's start time counts. A boat first seen after
// the start time already beyond the start line (its tracker came on late) is taken to have
// started at its first position.
class BoatProgress
{
public:
    struct Passing
    {
        int mark;
        double time;
        // The track leg it lies on (-1 for a start taken from the first position) and the
        // share of the way along that leg.
        int leg;
        double share;
    };

    BoatProgress(std::shared_ptr<const Course> course, qint64 startTime);

    // Positions in any order. A time the boat already has is kept as it was. Returns the
    // index of the first position that changed (the count when nothing did); the passings
    // are worked out again from the leg that ends there.
    int add(std::vector<PositionFix> fixes);
    void setCourse(std::shared_ptr<const Course> course, qint64 startTime);

    const std::vector<PositionFix> &positions() const { return m_fixes; }
    const std::vector<Passing> &passings() const { return m_passings; }
    const Course &course() const { return *m_course; }
    qint64 startTime() const { return m_startTime; }

    BoatState stateAt(qint64 time) const;
    // The boat's position at a time, between its reported ones; clamped to the first and last.
    GeoPoint positionAt(double time) const;

private:
    void recompute(int firstChanged);
    void scan(int firstLeg);

    std::shared_ptr<const Course> m_course;
    qint64 m_startTime = 0;
    std::vector<PositionFix> m_fixes;
    std::vector<Passing> m_passings;
};
