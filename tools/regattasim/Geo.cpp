#include "tools/regattasim/Geo.h"

#include <cmath>

namespace {
constexpr double earthKm = 6371.0;
constexpr double rad = 3.141592653589793 / 180.0;
} // namespace

namespace Geo {

double distanceKm(const LatLng &a, const LatLng &b)
{
    const double dLat = (b.lat - a.lat) * rad;
    const double dLng = (b.lng - a.lng) * rad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2)
                     + std::cos(a.lat * rad) * std::cos(b.lat * rad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * earthKm * std::asin(std::sqrt(std::min(1.0, h)));
}

double bearing(const LatLng &a, const LatLng &b)
{
    const double y = std::sin((b.lng - a.lng) * rad) * std::cos(b.lat * rad);
    const double x = std::cos(a.lat * rad) * std::sin(b.lat * rad)
                     - std::sin(a.lat * rad) * std::cos(b.lat * rad) * std::cos((b.lng - a.lng) * rad);
    const double deg = std::atan2(y, x) / rad;
    return deg < 0 ? deg + 360.0 : deg;
}

LatLng destination(const LatLng &a, double km, double courseDegrees)
{
    const double d = km / earthKm;
    const double c = courseDegrees * rad;
    const double lat1 = a.lat * rad;
    const double lat2 = std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(c));
    const double lng2 = a.lng * rad
                        + std::atan2(std::sin(c) * std::sin(d) * std::cos(lat1),
                                     std::cos(d) - std::sin(lat1) * std::sin(lat2));
    return {lat2 / rad, lng2 / rad};
}

LatLng between(const LatLng &a, const LatLng &b, double t)
{
    return {a.lat + t * (b.lat - a.lat), a.lng + t * (b.lng - a.lng)};
}

double crossTrackKm(const LatLng &a, const LatLng &b, const LatLng &p)
{
    const double d = distanceKm(a, p) / earthKm;
    const double diff = (bearing(a, p) - bearing(a, b)) * rad;
    return std::asin(std::sin(d) * std::sin(diff)) * earthKm;
}

double sideOf(const LatLng &a, const LatLng &b, const LatLng &p)
{
    const double k = std::cos(a.lat * rad);
    return (b.lng - a.lng) * k * (p.lat - a.lat) - (b.lat - a.lat) * (p.lng - a.lng) * k;
}

bool segmentsMeet(const LatLng &p, const LatLng &q, const LatLng &a, const LatLng &b)
{
    auto sign = [](double s) { return s > 0 ? 1 : (s < 0 ? -1 : 0); };
    return sign(sideOf(p, q, a)) * sign(sideOf(p, q, b)) <= 0
           && sign(sideOf(a, b, p)) * sign(sideOf(a, b, q)) <= 0;
}

} // namespace Geo
