#include "tests/chart/GeoTest.h"

#include "chart/GeoPoint.h"

#include <QTest>

#include <cmath>

namespace {
bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance;
}
} // namespace

void GeoTest::distanceAndBearingAgreeWithIndependentValues()
{
    // Reference values from the vector method on the same 6371 km sphere.
    const GeoPoint london(51.5074, -0.1278);
    const GeoPoint paris(48.8566, 2.3522);
    QVERIFY(near(GeoPoint::distanceKm(london, paris), 343.556060, 1e-5));
    QVERIFY(near(GeoPoint::bearing(london, paris), 148.115617, 1e-5));

    const GeoPoint bisevo(42.986766, 16.0203);
    const GeoPoint vis(43.00675, 16.066916);
    QVERIFY(near(GeoPoint::distanceKm(bisevo, vis), 4.394382, 1e-6));
    QVERIFY(near(GeoPoint::bearing(bisevo, vis), 59.608082, 1e-5));

    // A quarter of the equator, and the course range 0 to 360.
    QVERIFY(near(GeoPoint::distanceKm(GeoPoint(0, 0), GeoPoint(0, 90)), 6371 * Geo::pi / 2, 1e-9));
    QVERIFY(near(GeoPoint::bearing(GeoPoint(0, 0), GeoPoint(0, 90)), 90, 1e-9));
    QVERIFY(near(GeoPoint::bearing(GeoPoint(0, 0), GeoPoint(0, -1)), 270, 1e-9));
    QVERIFY(near(GeoPoint::bearing(GeoPoint(1, 0), GeoPoint(0, 0)), 180, 1e-9));
    QCOMPARE(GeoPoint::distanceKm(bisevo, bisevo), 0.0);
}

void GeoTest::destinationFollowsMeridionalRadius()
{
    // One kilometre east at 43 degrees north: 0.0123 degrees of longitude, same latitude.
    const GeoPoint a(43, 16);
    const GeoPoint east = GeoPoint::destination(a, 1, 90);
    QVERIFY(near(east.lat, 43, 1e-6));
    QCOMPARE(std::round((east.lng - 16) * 10000) / 10000, 0.0123);

    // North along the meridian: the meridional radius at 43 degrees sets the step.
    const double m = 6335.4422767778715 / std::pow(1 - 0.006694384761408399 * std::pow(std::sin(43 / Geo::degreesPerRadian), 2), 1.5);
    const GeoPoint north = GeoPoint::destination(a, 10, 0);
    QVERIFY(near(north.lat, 43 + 10 / m * Geo::degreesPerRadian, 1e-9));
    QVERIFY(near(north.lng, 16, 1e-12));

    // A negative distance lies behind the start.
    const GeoPoint behind = GeoPoint::destination(a, -1, 90);
    QVERIFY(near(behind.lng, 16 - (east.lng - 16), 1e-9));
}

void GeoTest::midpointOnTheGreatCircle()
{
    const GeoPoint mid = GeoPoint::midpoint(GeoPoint(43, 16), GeoPoint(43, 16.1));
    QVERIFY(near(mid.lng, 16.05, 1e-9));
    QVERIFY(mid.lat > 43);
    QVERIFY(mid.lat < 43.0001);
    const GeoPoint meridian = GeoPoint::midpoint(GeoPoint(40, 10), GeoPoint(44, 10));
    QVERIFY(near(meridian.lat, 42, 1e-9));
    QVERIFY(near(meridian.lng, 10, 1e-9));
}
