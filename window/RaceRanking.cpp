#include "window/RaceRanking.h"

#include "chart/Ship.h"
#include "race/Regatta.h"
#include "window/RankingTable.h"

RaceRanking::RaceRanking(RankingTable *table, std::function<int()> replayTime, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_replayTime(std::move(replayTime))
{
    connect(m_table, &RankingTable::rankingWanted, this, &RaceRanking::update);
}

void RaceRanking::tracksChanged()
{
    if (!m_regatta)
        return;
    // The race's start time decides which crossings count.
    qint64 startTime = 0;
    for (const Race &race : m_regatta->races()) {
        if (race.id == m_regatta->raceId())
            startTime = race.von;
    }
    m_feed.setRace(m_regatta->eventId(), m_regatta->taskId(), startTime);
    m_feed.tracksChanged();
    update();
}

Ranking RaceRanking::shownRankingAt(qint64 time)
{
    if (!m_regatta)
        return Ranking(time, {});
    const QList<Ship *> ships = m_regatta->ships();
    QSet<int> shown;
    for (const Ship *ship : ships) {
        if (ship->show())
            shown.insert(ship->id());
    }
    // Ranks and gaps are those of the whole fleet: switching a boat off hides its row and
    // changes nobody else's place.
    const Ranking all = m_feed.analysis(ships).rankingAt(time);
    QList<Standing> rows;
    for (const Standing &s : all.overall()) {
        if (shown.contains(s.boatId))
            rows.append(s);
    }
    return Ranking(time, rows);
}

void RaceRanking::update()
{
    if (!m_table->seen())
        return;
    int followed = 0;
    if (m_regatta) {
        for (const Ship *ship : m_regatta->ships()) {
            if (ship->follow())
                followed = ship->id();
        }
    }
    m_table->showRanking(shownRankingAt(m_replayTime()), followed);
    ++m_updates;
}
