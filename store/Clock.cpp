#include "store/Clock.h"

namespace {
bool pinned = false;
qint64 pinnedSeconds = 0;
}

qint64 Clock::nowSeconds()
{
    if (pinned)
        return pinnedSeconds;
    return QDateTime::currentMSecsSinceEpoch() / 1000;
}

QDateTime Clock::now()
{
    if (pinned)
        return QDateTime::fromSecsSinceEpoch(pinnedSeconds);
    return QDateTime::currentDateTime();
}

void Clock::pin(qint64 secondsSinceEpoch)
{
    pinned = true;
    pinnedSeconds = secondsSinceEpoch;
}

void Clock::unpin()
{
    pinned = false;
}
