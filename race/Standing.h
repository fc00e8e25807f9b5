#pragma once

#include "race/BoatState.h"

#include <QString>

// One boat's line in a ranking at a replay time. Gaps are to the leader of the whole
// fleet and to the leader of the boat's class; NaN where nothing sensible can be said (no
// position, or too slow to estimate a time).
struct Standing
{
    int boatId = 0;
    QString startnr;
    QString name;
    QString klasse;
    BoatState state;
    // Empty once the boat has finished.
    QString nextMarkName;

    // Boats that cannot be told apart share a rank, and the next rank is left out (1, 1, 3).
    int rank = 0;
    double gapNm = BoatState::unknown;
    double gapSeconds = BoatState::unknown;

    int classRank = 0;
    double classGapNm = BoatState::unknown;
    double classGapSeconds = BoatState::unknown;
};
