#pragma once

#include "race/BoatProgress.h"
#include "race/Course.h"
#include "race/Ranking.h"

#include <QList>
#include <QSet>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class Track;

// A boat's name plate as a ranking shows it.
struct RaceBoat
{
    int id = 0;
    QString startnr;
    QString name;
    QString klasse;
};

// The race analysis of one race: the course, every boat's progress round it, and the
// ranking at any replay time. Free of widgets; a list, an export or a test reads the same.
class RaceAnalysis
{
public:
    RaceAnalysis();
    RaceAnalysis(const Course &course, qint64 startTime);

    // Every boat's passings are worked out again.
    void setCourse(const Course &course, qint64 startTime);
    const Course &course() const { return *m_course; }
    qint64 startTime() const { return m_startTime; }

    // Adds the boat, or renames it and keeps its positions.
    void setBoat(const RaceBoat &boat);
    void removeBoat(int boatId);
    void clear();
    bool contains(int boatId) const { return m_boats.count(boatId) > 0; }
    QList<int> boatIds() const;
    const RaceBoat *boat(int boatId) const;

    // Positions of a boat in any order (see BoatProgress::add); a boat not known yet is
    // added under its id. Returns the index of the first position that changed.
    int addPositions(int boatId, std::vector<PositionFix> fixes);
    // The track's positions from index `from` on.
    int addPositions(int boatId, const Track &track, int from = 0);
    // Nullptr for a boat not in the race.
    const BoatProgress *progress(int boatId) const;

    // The boats given (ids not in the race are left out), overall and by class.
    Ranking rankingAt(qint64 time, const QSet<int> &boats) const;
    Ranking rankingAt(qint64 time) const;

private:
    struct Entry
    {
        RaceBoat boat;
        BoatProgress progress;
    };

    Entry &entry(int boatId);

    std::shared_ptr<const Course> m_course;
    qint64 m_startTime = 0;
    std::map<int, Entry> m_boats;
};
