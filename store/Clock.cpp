#include "store/Clock.h"

qint64 Clock::nowSeconds() const
{
    if (m_pinned)
        return *m_pinned;
    return QDateTime::currentMSecsSinceEpoch() / 1000;
}

QDateTime Clock::now() const
{
    if (m_pinned)
        return QDateTime::fromSecsSinceEpoch(*m_pinned);
    return QDateTime::currentDateTime();
}
