#pragma once

#include "race/RaceAnalysisFeed.h"
#include "race/Ranking.h"

#include <QObject>

#include <functional>

class Regatta;
class RankingTable;

// Who leads the race shown at the replay time: the race analysis fed from the boats'
// tracks, ranked over the whole fleet, and listed for the boats switched on in the
// participant list. The table is updated at every replay step while it is seen.
class RaceRanking : public QObject
{
    Q_OBJECT
public:
    // table: not owned. replayTime: the time the replay shows.
    RaceRanking(RankingTable *table, std::function<int()> replayTime, QObject *parent = nullptr);

    void setRegatta(const Regatta *regatta) { m_regatta = regatta; }
    // Positions came into tracks or the boats changed.
    void tracksChanged();
    // The replay time changed, or which boats are shown or followed: the table follows.
    void update();
    // The switched-on boats at a time, ranked among the whole fleet.
    Ranking shownRankingAt(qint64 time);

    const RaceAnalysisFeed &feed() const { return m_feed; }
    // How often the table was given a ranking, for tests.
    int updates() const { return m_updates; }

private:
    RankingTable *m_table;
    std::function<int()> m_replayTime;
    const Regatta *m_regatta = nullptr;
    RaceAnalysisFeed m_feed;
    int m_updates = 0;
};
