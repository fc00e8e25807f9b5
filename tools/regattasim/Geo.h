#pragma once

// Positions and the few spherical formulas the simulation needs, in degrees and km.
struct LatLng
{
    double lat = 0.0;
    double lng = 0.0;
};

namespace Geo {
double distanceKm(const LatLng &a, const LatLng &b);
// Initial course from a to b, 0 up to 360 degrees.
double bearing(const LatLng &a, const LatLng &b);
LatLng destination(const LatLng &a, double km, double courseDegrees);
// The point a share t of the way from a to b (t may lie outside 0..1).
LatLng between(const LatLng &a, const LatLng &b, double t);
// Signed distance of p from the line through a and b, positive to the right of a → b.
double crossTrackKm(const LatLng &a, const LatLng &b, const LatLng &p);
// Which side of the line through a and b p lies on, on a flat map of latitude and longitude
// (where the course lines are straight): positive to the left of a → b, negative to the
// right, 0 on it.
double sideOf(const LatLng &a, const LatLng &b, const LatLng &p);
// Whether the segments p–q and a–b meet, touching included, on that map.
bool segmentsMeet(const LatLng &p, const LatLng &q, const LatLng &a, const LatLng &b);
} // namespace Geo
