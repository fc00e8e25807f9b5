#include "race/Ranking.h"

QList<Standing> Ranking::ofClass(const QString &klasse) const
{
    QList<Standing> result;
    for (const Standing &s : m_overall) {
        if (s.klasse == klasse)
            result.append(s);
    }
    return result;
}

QStringList Ranking::classes() const
{
    QStringList result;
    for (const Standing &s : m_overall) {
        if (!result.contains(s.klasse))
            result.append(s.klasse);
    }
    return result;
}

const Standing *Ranking::find(int boatId) const
{
    for (const Standing &s : m_overall) {
        if (s.boatId == boatId)
            return &s;
    }
    return nullptr;
}
