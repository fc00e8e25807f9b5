#pragma once

#include "race/Standing.h"

#include <QList>
#include <QStringList>

// Who leads at one replay time: finished boats first, by finish time; then by gates
// passed, more first; then by distance remaining, less first.
class Ranking
{
public:
    Ranking() = default;
    Ranking(qint64 time, const QList<Standing> &overall)
        : m_time(time)
        , m_overall(overall)
    {
    }

    qint64 time() const { return m_time; }
    bool isEmpty() const { return m_overall.isEmpty(); }
    // Every boat, in overall rank order. A copy (shared, so cheap): looping over the
    // ranking of a temporary stays safe.
    QList<Standing> overall() const { return m_overall; }
    // The boats of one class in class rank order.
    QList<Standing> ofClass(const QString &klasse) const;
    // The classes in the order their best boats rank.
    QStringList classes() const;
    // Nullptr when the boat is not in the ranking.
    const Standing *find(int boatId) const;

private:
    qint64 m_time = 0;
    QList<Standing> m_overall;
};
