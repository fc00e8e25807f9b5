#include "tests/chart/ReadoutTest.h"

#include "chart/AgeText.h"
#include "chart/BoatReadout.h"
#include "chart/GroundMotion.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/TrackLookup.h"
#include "tests/chart/RecordingOwner.h"

#include <QDateTime>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <memory>

namespace {
constexpr int t0 = 1712743200;

// A straight run east along 43 degrees north, a fix every step seconds.
Track eastward(int n, double degreesPerFix, int step = 60)
{
    Track track;
    for (int i = 0; i < n; ++i)
        track.append(43.0, 16.0 + degreesPerFix * i, t0 + step * i, 0);
    return track;
}

double knotsFor(double degreesLngPerSecond)
{
    const double km = GeoPoint::distanceKm({43.0, 16.0}, {43.0, 16.0 + degreesLngPerSecond * 3600});
    return km / GroundMotion::kmPerNauticalMile;
}

std::unique_ptr<Ship> boat(const Track &track)
{
    auto ship = std::make_unique<Ship>(7, QStringLiteral("Bora"), QString(), QString());
    for (int i = 0; i < track.count(); ++i) {
        const TrackPoint &p = track.point(i);
        ship->fullTrack().append(p.position.lat, p.position.lng, p.time, 0);
    }
    ship->setPointCount(track.count());
    ship->showFullTrack();
    ship->setReady(true);
    return ship;
}

QString localTime(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}
} // namespace

void ReadoutTest::lastPositionAtOrBeforeATime()
{
    const Track track = eastward(5, 0.01);
    QCOMPARE(TrackLookup::lastAtOrBefore(track, t0 - 1), -1);
    QCOMPARE(TrackLookup::lastAtOrBefore(track, t0), 0);
    QCOMPARE(TrackLookup::lastAtOrBefore(track, t0 + 59), 0);
    QCOMPARE(TrackLookup::lastAtOrBefore(track, t0 + 60), 1);
    QCOMPARE(TrackLookup::lastAtOrBefore(track, t0 + 100000), 4);
    QCOMPARE(TrackLookup::lastAtOrBefore(Track(), t0), -1);

    // Between fixes the position lies on the straight line; outside the track it is clamped.
    const GeoPoint half = TrackLookup::positionAt(track, t0 + 90);
    QVERIFY(std::abs(half.lng - 16.015) < 1e-12);
    QCOMPARE(TrackLookup::positionAt(track, t0 - 500).lng, 16.0);
    QCOMPARE(TrackLookup::positionAt(track, t0 + 5000).lng, 16.04);
}

void ReadoutTest::speedAndCourseOverTheMinuteAroundTheTime()
{
    // 0.01 degrees of longitude a minute, due east.
    const Track track = eastward(30, 0.01);
    const double expected = knotsFor(0.01 / 60);
    const GroundMotion mid = GroundMotion::around(track, t0 + 600);
    QVERIFY(mid.hasSpeed() && mid.hasCourse());
    QVERIFY2(std::abs(mid.speedKnots - expected) < 0.01, qPrintable(QString::number(mid.speedKnots)));
    QVERIFY(std::abs(mid.courseDegrees - 90.0) < 0.1);

    // At and after the end of the track: the last minute of it.
    const GroundMotion late = GroundMotion::around(track, t0 + 100000);
    QVERIFY(std::abs(late.speedKnots - expected) < 0.01);

    // Before the track (more than half a minute) nothing is known; a boat at rest has a
    // speed of 0 but no course.
    QVERIFY(!GroundMotion::around(track, t0 - 31).hasSpeed());
    QVERIFY(!GroundMotion::around(Track(), t0).hasSpeed());
    Track still;
    still.append(43.0, 16.0, t0, 0);
    still.append(43.0, 16.0, t0 + 120, 0);
    const GroundMotion rest = GroundMotion::around(still, t0 + 60);
    QCOMPARE(rest.speedKnots, 0.0);
    QVERIFY(!rest.hasCourse());
}

void ReadoutTest::jitterDoesNotAddSpeed()
{
    // Fixes every 5 s along a line due north, each thrown 20 m to the side and back: the
    // leg-by-leg speed would be several times the way made good.
    Track track;
    const double north = 0.0001; // degrees of latitude per fix, about 11 m
    const double side = 0.00025;  // degrees of longitude, about 20 m
    for (int i = 0; i < 60; ++i)
        track.append(43.0 + north * i, 16.0 + (i % 2 ? side : -side), t0 + 5 * i, 0);
    const double madeGood = GeoPoint::distanceKm({43.0, 16.0}, {43.0 + north * 12, 16.0}) / 60.0 * 3600.0
                            / GroundMotion::kmPerNauticalMile;
    const double legByLeg = GeoPoint::distanceKm(track.point(20).position, track.point(21).position) / 5.0 * 3600.0
                            / GroundMotion::kmPerNauticalMile;
    QVERIFY(legByLeg > 3 * madeGood);
    // The window's ends fall on fixes of the same side, so the minute sees the way made good.
    const GroundMotion m = GroundMotion::around(track, t0 + 5 * 30);
    QVERIFY2(std::abs(m.speedKnots - madeGood) < 0.05 * madeGood, qPrintable(QString::number(m.speedKnots)));
    QVERIFY(m.courseDegrees < 1.0 || m.courseDegrees > 359.0);
}

void ReadoutTest::agesInWholeUnits()
{
    QCOMPARE(AgeText::since(-5), QStringLiteral("vor 0 s"));
    QCOMPARE(AgeText::since(59), QStringLiteral("vor 59 s"));
    QCOMPARE(AgeText::since(60), QStringLiteral("vor 1 min"));
    QCOMPARE(AgeText::since(3599), QStringLiteral("vor 59 min"));
    QCOMPARE(AgeText::since(7200 + 3599), QStringLiteral("vor 2 h"));
    QCOMPARE(AgeText::since(86399), QStringLiteral("vor 23 h"));
    QCOMPARE(AgeText::since(86400), QStringLiteral("vor 1 Tag"));
    QCOMPARE(AgeText::since(3 * 86400 + 5), QStringLiteral("vor 3 Tagen"));
}

void ReadoutTest::boatReadoutNamesTheBoatAndItsMotion()
{
    auto ship = boat(eastward(10, 0.01));
    ship->setStartnr(QStringLiteral("12"));
    ship->setKlasse(QStringLiteral("ORC A"));
    ship->setTeam(QStringLiteral("Jadran"));
    ship->setSkipper(QStringLiteral("M. Horvat"));
    const QStringList lines = BoatReadout::ofShip(*ship, t0 + 150).split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("Nr. 12 – Bora"));
    QCOMPARE(lines.value(1), QStringLiteral("Klasse: ORC A"));
    QCOMPARE(lines.value(2), QStringLiteral("Team: Jadran"));
    QCOMPARE(lines.value(3), QStringLiteral("Skipper: M. Horvat"));
    // 0.01 degrees a minute at 43 degrees north is 26.3 knots; German decimal comma.
    QCOMPARE(lines.value(4), QStringLiteral("Fahrt: %1   Kurs: 90°").arg(BoatReadout::knots(knotsFor(0.01 / 60))));
    QVERIFY(lines.value(4).contains(QStringLiteral("26,3 kn")));
    QCOMPARE(lines.value(5), QStringLiteral("Letzte Position: %1 (vor 30 s)").arg(localTime(t0 + 120)));
    QCOMPARE(lines.size(), 6);

    // Long after the last fix its age is told; before the first one, when it comes.
    QVERIFY(BoatReadout::ofShip(*ship, t0 + 540 + 7200).endsWith(QStringLiteral("(vor 2 h)")));
    QCOMPARE(BoatReadout::lastPosition(*ship, t0 - 600),
             QStringLiteral("Noch keine Position (erste %1)").arg(localTime(t0)));

    // A boat without start number, class, team or skipper and without positions.
    Ship bare(9, QStringLiteral("Boot9"), QString(), QString());
    QCOMPARE(BoatReadout::ofShip(bare, t0), QStringLiteral("Boot9\nFahrt: –   Kurs: –\nNoch keine Position"));
    QCOMPARE(BoatReadout::degrees(359.6), QStringLiteral("0°"));
}

void ReadoutTest::staleBoatIsFadedWithItsAgeInsideItsRectangle()
{
    RecordingOwner owner;
    Scheme scene;
    Karte chart(&scene, &owner, &owner.tiles);
    chart.setZoom(12);
    chart.setCenter(43.0, 16.02);
    chart.resize(400, 300);
    chart.refresh();
    auto ship = boat(eastward(4, 0.01));
    ship->setSpriteStrip(QImage(QStringLiteral("sprites/shipstrip.png")));
    ship->setFarbe(QStringLiteral("#ff0000"));
    ship->setShowTrack(false);
    ship->setCurrentPoint(ship->fullTrack().point(3));
    ship->setCurrentTime(t0 + 180);
    ship->updateOnChart(chart);
    const QPoint at = ship->pixelPos();

    auto paint = [&] {
        QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        ship->paint(&painter, nullptr, nullptr);
        return image;
    };
    // The hull's red, fresh and faded: the faded one is a pale pink, much nearer white.
    const QColor fresh = paint().pixelColor(at + QPoint(0, 8));
    QVERIFY(fresh.red() > 180 && fresh.green() < 120);
    QVERIFY(!ship->isStale());

    ship->setStaleLabel(QStringLiteral("vor 2 h"));
    ship->updateOnChart(chart);
    const QImage faded = paint();
    const QColor pale = faded.pixelColor(at + QPoint(0, 8));
    QVERIFY2(pale.red() > 200 && pale.green() > 120 && pale.green() > fresh.green() + 60,
             qPrintable(pale.name()));

    // The age is written under the boat in a dark colour, and the item's rectangle holds it.
    int dark = 0;
    const QRectF bounds = ship->boundingRect();
    for (int y = at.y() + 16; y < at.y() + 34; ++y) {
        for (int x = at.x() - 16; x < at.x() + 40; ++x) {
            if (faded.pixelColor(x, y).value() < 110) {
                ++dark;
                QVERIFY(bounds.contains(QPointF(x + 0.5, y + 0.5)));
            }
        }
    }
    QVERIFY(dark > 10);
}
