#pragma once

#include "tools/regattasim/RaceDefinition.h"

#include <QList>

// The races the demo tracking server simulates: the seeded races of 2010, 2011 and 2024
// on the courses of the gate catalogue, and one race that is running now.
namespace RaceBook {

inline constexpr int liveEventId = 122;
inline constexpr int liveTaskId = 301;
inline constexpr char liveRaceName[] = "Biograd Live-Regatta , Das Rennen";
// How long the live race's window stays open after its start.
inline constexpr qint64 liveWindowSeconds = 4 * 24 * 3600;

// The live race starts at `liveStart`; its window opens ten minutes earlier.
RaceDefinition live(qint64 liveStart);
// The live race's default start: half an hour before now, on a whole minute.
qint64 defaultLiveStart(qint64 now);

// Events 10, 21 and 125.
QList<RaceDefinition> seeded();

} // namespace RaceBook
