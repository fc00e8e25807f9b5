#pragma once

#include "chart/GeoPoint.h"

#include <cmath>

// A point of a flat map of the race area, in kilometres east (x) and north (y).
struct PlanePoint
{
    double x = 0.0;
    double y = 0.0;
};

inline PlanePoint operator-(const PlanePoint &a, const PlanePoint &b) { return {a.x - b.x, a.y - b.y}; }
inline PlanePoint operator+(const PlanePoint &a, const PlanePoint &b) { return {a.x + b.x, a.y + b.y}; }
inline PlanePoint operator*(double k, const PlanePoint &a) { return {k * a.x, k * a.y}; }
inline double dot(const PlanePoint &a, const PlanePoint &b) { return a.x * b.x + a.y * b.y; }
// Positive when b lies to the left of a (counter-clockwise).
inline double cross(const PlanePoint &a, const PlanePoint &b) { return a.x * b.y - a.y * b.x; }
inline double length(const PlanePoint &a) { return std::hypot(a.x, a.y); }

// Degrees of latitude and longitude stretched to kilometres at one latitude. Over a race
// area of a few hundred kilometres the stretch is off by a few per cent at the edges, which
// moves no crossing: the map is only used to tell sides and order along short legs.
class CoursePlane
{
public:
    static constexpr double kmPerDegree = 6371.0 / Geo::degreesPerRadian;

    CoursePlane() = default;
    explicit CoursePlane(const GeoPoint &origin)
        : m_origin(origin)
        , m_kmPerDegreeLng(kmPerDegree * std::cos(Geo::radians(origin.lat)))
    {
    }

    PlanePoint toPlane(const GeoPoint &p) const
    {
        return {(p.lng - m_origin.lng) * m_kmPerDegreeLng, (p.lat - m_origin.lat) * kmPerDegree};
    }

    // Kilometres from p to the nearest point of the segment a–b, on a map centred on p
    // (so the stretch is right where it matters).
    static double distanceToSegmentKm(const GeoPoint &p, const GeoPoint &a, const GeoPoint &b)
    {
        const CoursePlane local(p);
        const PlanePoint pa = local.toPlane(a);
        const PlanePoint ab = local.toPlane(b) - pa;
        const double l2 = dot(ab, ab);
        double s = l2 > 0.0 ? -dot(pa, ab) / l2 : 0.0;
        s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
        return length(pa + s * ab);
    }

private:
    GeoPoint m_origin;
    double m_kmPerDegreeLng = kmPerDegree;
};
