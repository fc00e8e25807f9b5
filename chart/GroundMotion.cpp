#include "chart/GroundMotion.h"

#include "chart/Track.h"
#include "chart/TrackLookup.h"

GroundMotion GroundMotion::around(const Track &track, double time)
{
    if (track.isEmpty())
        return {};
    return around(time, double(track.point(0).time), double(track.last().time),
                  [&track](double t) { return TrackLookup::positionAt(track, t); });
}
