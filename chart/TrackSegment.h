#pragma once

#include "chart/GeoPoint.h"

#include <QtGlobal>

// The leg from one point of a track to the next; time is that of the point it ends at.
struct TrackSegment
{
    GeoPoint from;
    GeoPoint to;
    qint32 time = 0;
};
