#pragma once

#include "chart/GeoPoint.h"

#include <QtGlobal>

class Track;

// Questions about a track at one time, without changing it: which position was the last one
// known by then, and where the boat was between two of them.
namespace TrackLookup {

// Index of the last position at or before t; -1 when the track starts after t or is empty.
int lastAtOrBefore(const Track &track, qint64 t);

// The position at a time, straight between the positions around it (in degrees, which over
// the minute between two fixes is as good as a great circle); the first or last position
// outside the track's time span. (0, 0) for an empty track.
GeoPoint positionAt(const Track &track, double t);

} // namespace TrackLookup
