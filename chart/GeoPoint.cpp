#include "chart/GeoPoint.h"

#include <cmath>

using Geo::degreesPerRadian;
using Geo::radians;

double GeoPoint::distanceKm(const GeoPoint &a, const GeoPoint &b)
{
    const double phiA = radians(a.lat);
    const double phiB = radians(b.lat);
    const double sinDPhi = std::sin((phiB - phiA) / 2.0);
    const double sinDLambda = std::sin(radians(b.lng - a.lng) / 2.0);
    const double h = sinDPhi * sinDPhi + std::cos(phiA) * std::cos(phiB) * sinDLambda * sinDLambda;
    return 2.0 * 6371.0 * std::atan2(std::sqrt(h), std::sqrt(1.0 - h));
}

double GeoPoint::bearing(const GeoPoint &a, const GeoPoint &b)
{
    const double phiA = radians(a.lat);
    const double phiB = radians(b.lat);
    const double dLambda = radians(b.lng - a.lng);
    const double y = std::sin(dLambda) * std::cos(phiB);
    const double x = std::cos(phiA) * std::sin(phiB) - std::sin(phiA) * std::cos(phiB) * std::cos(dLambda);
    double course = std::atan2(y, x) * degreesPerRadian;
    if (course < 0.0)
        course += 360.0;
    return course;
}

GeoPoint GeoPoint::destination(const GeoPoint &a, double distanceKm, double courseDegrees)
{
    const double phi = radians(a.lat);
    const double theta = radians(courseDegrees);
    const double sinPhi = std::sin(phi);
    const double meridionalRadius =
        6335.4422767778715 / std::pow(1.0 - 0.006694384761408399 * sinPhi * sinPhi, 1.5);
    const double delta = distanceKm / meridionalRadius;
    const double lat = 90.0 - std::acos(std::cos(delta) * sinPhi + std::sin(delta) * std::cos(phi) * std::cos(theta))
                                  * degreesPerRadian;
    const double lng = (radians(a.lng) + std::asin(std::sin(theta) * std::sin(delta) / std::cos(phi))) * degreesPerRadian;
    return {lat, lng};
}

GeoPoint GeoPoint::midpoint(const GeoPoint &a, const GeoPoint &b)
{
    const double phiA = radians(a.lat);
    const double phiB = radians(b.lat);
    const double lambdaA = radians(a.lng);
    const double dLambda = radians(b.lng - a.lng);
    const double bx = std::cos(phiB) * std::cos(dLambda);
    const double by = std::cos(phiB) * std::sin(dLambda);
    const double lat = std::atan2(std::sin(phiA) + std::sin(phiB),
                                  std::sqrt((std::cos(phiA) + bx) * (std::cos(phiA) + bx) + by * by));
    const double lng = lambdaA + std::atan2(by, std::cos(phiA) + bx);
    return {lat * degreesPerRadian, lng * degreesPerRadian};
}
