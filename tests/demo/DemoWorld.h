#pragma once

#include "tools/coastline/Coastline.h"
#include "tools/regattasim/RaceDefinition.h"

class SimulatedRegatta;

// The coastline and the simulated races, worked out once for all tests of this folder.
namespace DemoWorld {
const Coastline &coastline();
RaceDefinition definition(int eventId);
// The live race starting at a fixed moment.
const SimulatedRegatta &regatta(int eventId);
inline constexpr qint64 liveStart = 1800000000;
}
