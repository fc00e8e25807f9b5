#pragma once

#include "store/Clock.h"

// Pins the program's clock for the lifetime of the object.
class PinnedClock
{
public:
    explicit PinnedClock(qint64 secondsSinceEpoch) { Clock::pin(secondsSinceEpoch); }
    ~PinnedClock() { Clock::unpin(); }
    void set(qint64 secondsSinceEpoch) { Clock::pin(secondsSinceEpoch); }

    PinnedClock(const PinnedClock &) = delete;
    PinnedClock &operator=(const PinnedClock &) = delete;
};
