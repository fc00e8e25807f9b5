#pragma once

#include "race/Course.h"
#include "race/GateCatalogue.h"

// The courses of the known races, made from the gate catalogue. The catalogue gives the
// gates in the order they are sailed, but neither start nor direction; this adds what the
// waters make plain: which way a boat crosses a line between two islands, and which lines
// are crossed either way (a line drawn out from an island a boat may round either way).
//
// Set A starts on its start line; sets B, C and D have none in the catalogue, their first
// gate is simply the first to pass. Set E is a route of eight legs out towards Palagruza
// without start or finish: its course starts and finishes on a line off Komiza, follows the
// route (each leg passed at its end), rounds Palagruza on the line drawn south from the
// island in sets A to D, and comes back.
class CourseCatalogue
{
public:
    static Course course(GateCatalogue::Set set);
    static Course courseFor(int eventId, int taskId) { return course(GateCatalogue::setFor(eventId, taskId)); }
};
