#include "race/RaceAnalysisFeed.h"

#include "chart/Ship.h"
#include "race/CourseCatalogue.h"

#include <QSet>

void RaceAnalysisFeed::setRace(int eventId, int taskId, qint64 startTime)
{
    if (eventId == m_eventId && taskId == m_taskId && startTime == m_startTime)
        return;
    m_eventId = eventId;
    m_taskId = taskId;
    m_startTime = startTime;
    m_analysis = RaceAnalysis(CourseCatalogue::courseFor(eventId, taskId), startTime);
    m_fed.clear();
    m_stale = true;
}

const RaceAnalysis &RaceAnalysisFeed::analysis(const QList<Ship *> &ships)
{
    if (m_stale)
        catchUp(ships);
    return m_analysis;
}

void RaceAnalysisFeed::catchUp(const QList<Ship *> &ships)
{
    QSet<int> present;
    for (const Ship *ship : ships) {
        present.insert(ship->id());
        m_analysis.setBoat({ship->id(), ship->startnr(), ship->name(), ship->klasse()});
        // Every position loaded, not the simplified selection the chart may draw.
        const Track &track = ship->fullTrack();
        Fed &fed = m_fed[ship->id()];
        if (fed.revision != track.revision() || track.count() < fed.count) {
            // Positions came in before the newest, or the boat was read anew: its track is
            // not what was fed, so it is fed whole.
            const RaceBoat boat = *m_analysis.boat(ship->id());
            m_analysis.removeBoat(ship->id());
            m_analysis.setBoat(boat);
            fed.count = 0;
        }
        if (track.count() > fed.count)
            m_analysis.addPositions(ship->id(), track, fed.count);
        fed.revision = track.revision();
        fed.count = track.count();
    }
    for (const int id : m_analysis.boatIds()) {
        if (!present.contains(id)) {
            m_analysis.removeBoat(id);
            m_fed.erase(id);
        }
    }
    m_stale = false;
}
