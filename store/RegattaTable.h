#pragma once

#include "store/Race.h"

#include <QList>

#include <optional>

// The races of table regatta.
class RegattaTable
{
public:
    // Every race in the order of its start; empty when the query cannot run.
    static std::optional<QList<Race>> all();
    // False when the statement failed.
    static bool setShowCompleteTracks(int raceId, bool on);
    // Adds a race after the stored ones (its id is ignored); false when it failed.
    static bool append(const Race &race);
};
