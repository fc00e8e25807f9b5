#include "chart/TrackLookup.h"

#include "chart/Track.h"

int TrackLookup::lastAtOrBefore(const Track &track, qint64 t)
{
    // The first index whose time is after t, minus one.
    int lo = 0;
    int hi = track.count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (qint64(track.point(mid).time) <= t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo - 1;
}

GeoPoint TrackLookup::positionAt(const Track &track, double t)
{
    const int n = track.count();
    if (n == 0)
        return {};
    if (t <= double(track.point(0).time))
        return track.point(0).position;
    if (t >= double(track.point(n - 1).time))
        return track.point(n - 1).position;
    const int i = lastAtOrBefore(track, qint64(t));
    const TrackPoint &a = track.point(i);
    const TrackPoint &b = track.point(i + 1);
    if (b.time <= a.time)
        return a.position;
    const double s = (t - double(a.time)) / double(b.time - a.time);
    return {a.position.lat + s * (b.position.lat - a.position.lat),
            a.position.lng + s * (b.position.lng - a.position.lng)};
}
