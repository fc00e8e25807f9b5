#pragma once

#include <QMetaType>

// A geographic position in degrees, latitude first. Radians appear only inside formulas.
struct GeoPoint
{
    double lat = 0.0;
    double lng = 0.0;

    constexpr GeoPoint() = default;
    constexpr GeoPoint(double latitude, double longitude)
        : lat(latitude)
        , lng(longitude)
    {
    }

    bool operator==(const GeoPoint &other) const { return lat == other.lat && lng == other.lng; }
    bool operator!=(const GeoPoint &other) const { return !(*this == other); }

    // Great-circle distance on a sphere of radius 6371 km (haversine).
    static double distanceKm(const GeoPoint &a, const GeoPoint &b);
    // Initial great-circle course from a to b, 0 up to 360 degrees.
    static double bearing(const GeoPoint &a, const GeoPoint &b);
    // The point d km from a on course theta degrees, with the meridional radius at a's
    // latitude. A negative distance gives a point behind a.
    static GeoPoint destination(const GeoPoint &a, double distanceKm, double courseDegrees);
    // Great-circle midpoint of a and b.
    static GeoPoint midpoint(const GeoPoint &a, const GeoPoint &b);
};

Q_DECLARE_METATYPE(GeoPoint)

namespace Geo {
inline constexpr double pi = 3.141592653589793;
inline constexpr double degreesPerRadian = 57.29577951308232;
inline constexpr double radians(double degrees) { return degrees / degreesPerRadian; }
}
