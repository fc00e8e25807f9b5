#pragma once

#include "chart/Track.h"

// The simplified track of a boat: the full track's points that Douglas-Peucker keeps at a
// tolerance in degrees, referred to, not copied.
namespace TrackSimplifier {
void simplify(const Track &full, double tolerance, Track &simplified);
}
