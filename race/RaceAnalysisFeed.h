#pragma once

#include "race/RaceAnalysis.h"

#include <QList>

#include <unordered_map>

class Ship;

// Keeps a race analysis in step with the boats of the race shown. Told when tracks change,
// it catches up only when asked for the analysis: with each boat's new positions at the
// end of its track, or the whole track where positions came into its past or the boat is
// another one. Nothing is worked out for a race nobody looks at.
class RaceAnalysisFeed
{
public:
    // The race whose boats come next: another race, course or start time starts afresh.
    void setRace(int eventId, int taskId, qint64 startTime);
    // Positions came into tracks, or the boats changed.
    void tracksChanged() { m_stale = true; }

    // The analysis with every position of the boats, which must be the race's boats now.
    const RaceAnalysis &analysis(const QList<Ship *> &ships);
    bool isStale() const { return m_stale; }

private:
    struct Fed
    {
        quint64 revision = 0;
        int count = 0;
    };

    void catchUp(const QList<Ship *> &ships);

    RaceAnalysis m_analysis;
    int m_eventId = -1;
    int m_taskId = -1;
    qint64 m_startTime = 0;
    std::unordered_map<int, Fed> m_fed;
    bool m_stale = true;
};
