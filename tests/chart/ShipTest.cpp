#include "tests/chart/ShipTest.h"

#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "tests/chart/RecordingOwner.h"

#include <QPainter>
#include <QTest>

#include <cmath>
#include <memory>

namespace {
struct Fix
{
    double lat;
    double lng;
    int time;
};

std::unique_ptr<Ship> shipWith(const QList<Fix> &fixes)
{
    auto ship = std::make_unique<Ship>(7, QStringLiteral("Boot7"), QString(), QString());
    for (const Fix &f : fixes)
        ship->fullTrack().append(f.lat, f.lng, f.time, 0, 0);
    ship->setPointCount(int(fixes.size()));
    ship->showFullTrack();
    ship->setReady(true);
    return ship;
}

// A straight run east along 43 degrees north, one point a minute.
QList<Fix> eastward(int n, int start = 1000, int step = 60)
{
    QList<Fix> fixes;
    for (int i = 0; i < n; ++i)
        fixes.append({43.0, 16.0 + 0.01 * i, start + step * i});
    return fixes;
}

bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance;
}

struct ChartOnly
{
    ChartOnly()
        : chart(&scene, &owner)
    {
        chart.setZoom(12);
        chart.setCenter(43.0, 16.02);
        chart.resize(400, 300);
        chart.refresh();
    }
    RecordingOwner owner;
    Scheme scene;
    Karte chart;
};

bool reddish(const QColor &c)
{
    return c.red() > 180 && c.green() < 150 && c.blue() < 150;
}
} // namespace

void ShipTest::exactHitReturnsStoredRecordAndKeepsSpeed()
{
    auto ship = shipWith(eastward(5));
    ship->fullTrack().point(2).course = 77.0f;
    ship->setSpeed(3.5);
    const std::optional<TrackPoint> p = ship->positionAt(1120);
    QVERIFY(p);
    QCOMPARE(p->position, GeoPoint(43.0, 16.02));
    QCOMPARE(p->course, 77.0f);
    QCOMPARE(int(p->index), 2);
    QCOMPARE(ship->speed(), 3.5);
    QCOMPARE(int(ship->fullTrack().point(2).index), 2);
}

void ShipTest::atOrAfterLastPointTakesCourseOfLastLeg()
{
    auto ship = shipWith({{43.0, 16.0, 1000}, {43.0, 16.01, 1060}, {43.01, 16.01, 1120}});
    ship->setSpeed(1.0);
    for (int t : {1120, 5000}) {
        const std::optional<TrackPoint> p = ship->positionAt(t);
        QVERIFY(p);
        QCOMPARE(p->position, GeoPoint(43.01, 16.01));
        QCOMPARE(int(p->index), 2);
        QVERIFY(near(p->course, 0.0, 1e-4)); // due north on the last leg
    }
    // The stored last record carries that course now.
    QVERIFY(near(ship->fullTrack().point(2).course, 0.0, 1e-4));
    QCOMPARE(ship->speed(), 1.0);

    auto single = shipWith({{43.0, 16.0, 1000}});
    QCOMPARE(single->positionAt(900)->course, 0.0f);
    QCOMPARE(single->positionAt(900)->time, 1000);

    auto empty = std::make_unique<Ship>(1, QStringLiteral("Boot1"), QString(), QString());
    QVERIFY(!empty->positionAt(1000));
}

void ShipTest::interpolatesBetweenAndExtrapolatesBeforeFirst()
{
    auto ship = shipWith(eastward(4));
    const GeoPoint a(43.0, 16.0);
    const GeoPoint b(43.0, 16.01);
    const double legKm = GeoPoint::distanceKm(a, b);

    const std::optional<TrackPoint> mid = ship->positionAt(1030);
    QVERIFY(mid);
    QCOMPARE(mid->time, 1030);
    QCOMPARE(int(mid->index), 1);
    QCOMPARE(mid->second, 5.0f);
    QVERIFY(near(mid->course, GeoPoint::bearing(a, b), 1e-4));
    const GeoPoint expected = GeoPoint::destination(a, legKm / 2, GeoPoint::bearing(a, b));
    QVERIFY(near(mid->position.lat, expected.lat, 1e-12));
    QVERIFY(near(mid->position.lng, expected.lng, 1e-12));
    QVERIFY(near(ship->speed(), legKm / 60 * 3600 / 1.852, 1e-9));

    const std::optional<TrackPoint> before = ship->positionAt(970);
    QVERIFY(before);
    QVERIFY(before->position.lng < 16.0);
    QVERIFY(near(before->position.lng, 16.0 - (expected.lng - 16.0), 1e-6));
    // Stored records are untouched by interpolation.
    QCOMPARE(ship->fullTrack().count(), 4);
}

void ShipTest::bracketWithoutDurationGivesEarlierPoint()
{
    auto two = shipWith({{43.0, 16.0, 1000}, {43.0, 16.01, 1060}});
    two->setSpeed(2.0);
    const std::optional<TrackPoint> early = two->positionAt(900);
    QVERIFY(early);
    QCOMPARE(early->position, GeoPoint(43.0, 16.0));
    QVERIFY(std::isfinite(early->position.lat));
    QCOMPARE(two->speed(), 2.0);

    auto sameTime = shipWith({{43.0, 16.0, 1000}, {43.0, 16.01, 1000}, {43.0, 16.02, 1060}});
    const std::optional<TrackPoint> p = sameTime->positionAt(999);
    QVERIFY(p);
    QCOMPARE(p->position, GeoPoint(43.0, 16.0));
    QCOMPARE(sameTime->speed(), 0.0);
}

void ShipTest::simplifyKeepsPointsBeyondTolerance()
{
    const double tolerance = 0.0005;
    auto dropped = shipWith({{43.0, 16.0, 1}, {43.0 + 0.8 * tolerance, 16.005, 2}, {43.0, 16.01, 3}});
    dropped->simplify(tolerance);
    QCOMPARE(dropped->simplifiedTrack().count(), 2);
    QCOMPARE(dropped->simplifyTolerance(), tolerance);

    auto kept = shipWith({{43.0, 16.0, 1}, {43.0 + 1.2 * tolerance, 16.005, 2}, {43.0, 16.01, 3}});
    kept->simplify(tolerance);
    QCOMPARE(kept->simplifiedTrack().count(), 3);

    // A longer track: the corner of an L stays, the points along its arms go.
    QList<Fix> l;
    for (int i = 0; i <= 10; ++i)
        l.append({43.0, 16.0 + 0.001 * i, i});
    for (int i = 1; i <= 10; ++i)
        l.append({43.0 + 0.001 * i, 16.01, 10 + i});
    auto ell = shipWith(l);
    ell->simplify(tolerance);
    const Track &s = ell->simplifiedTrack();
    QCOMPARE(s.count(), 3);
    QCOMPARE(s.point(0).time, 0);
    QCOMPARE(s.point(1).time, 10);
    QCOMPARE(s.point(2).time, 20);
    QCOMPARE(s.segmentCount(), 2);

    // A second call starts afresh.
    ell->simplify(tolerance);
    QCOMPARE(ell->simplifiedTrack().count(), 3);
    ell->simplify(0.1);
    QCOMPARE(ell->simplifiedTrack().count(), 2);
    QVERIFY(!ell->fullTrack().point(10).keep);
}

void ShipTest::simplifiedTrackSharesRecords()
{
    QList<Fix> zigzag;
    for (int i = 0; i < 9; ++i)
        zigzag.append({43.0 + (i % 2) * 0.01, 16.0 + 0.01 * i, 100 * i});
    auto ship = shipWith(zigzag);
    ship->simplify(0.0005);
    Track &simplified = ship->simplifiedTrack();
    QCOMPARE(simplified.count(), 9);
    QVERIFY(simplified.sharesRecordsWith(ship->fullTrack()));
    simplified.point(4).course = 123.0f;
    QCOMPARE(ship->fullTrack().point(4).course, 123.0f);
    // More positions may arrive in the full track; the simplified one stays valid.
    ship->fullTrack().append(43.5, 16.5, 5000, 0, 0);
    QCOMPARE(simplified.point(8).time, 800);
}

void ShipTest::trackLineCoversThreeHours()
{
    ChartOnly c;
    QList<Fix> hourly;
    for (int k = 0; k < 6; ++k)
        hourly.append({43.0, 16.0 + 0.005 * k, 100000 + 3600 * k});
    auto ship = shipWith(hourly);
    ship->setShowCompleteTrack(false);
    const int last = 100000 + 3600 * 5;
    ship->setCurrentPoint(*ship->positionAt(last));

    // Segment 1 ends 10800 s before the replay time: out.
    ship->setCurrentTime(last);
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 4);
    QCOMPARE(ship->trackLine().first(), QPointF(ship->pixelPos()));
    QCOMPARE(ship->pixelPos(), c.chart.getPixelPosForCoordinates(16.025, 43.0));
    QCOMPARE(ship->trackLine().last(), QPointF(c.chart.getPixelPosForCoordinates(16.01, 43.0)));

    // 10799 s before: in.
    ship->setCurrentTime(last - 1);
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 5);

    // The complete track still leaves out the first point.
    ship->setShowCompleteTrack(true);
    ship->setCurrentTime(last + 100000);
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 5);
    QCOMPARE(ship->trackLine().last(), QPointF(c.chart.getPixelPosForCoordinates(16.005, 43.0)));

    ship->setCurrentPoint(ship->fullTrack().point(1));
    ship->fullTrack().point(1).index = 1;
    ship->setCurrentPoint(ship->fullTrack().point(1));
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 1);

    // With the track off the line stays as it was.
    const QPolygonF before = ship->trackLine();
    ship->setShowTrack(false);
    ship->setCurrentPoint(*ship->positionAt(last));
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine(), before);
    QCOMPARE(ship->boundingRect(), before.boundingRect());
}

void ShipTest::boatWithoutCurrentPointIsSkipped()
{
    ChartOnly c;
    auto ship = shipWith({{43.0, 16.0, 1000}});
    QVERIFY(!ship->hasCurrentPoint());
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->pixelPos(), QPoint(0, 0));
    QVERIFY(ship->trackLine().isEmpty());
    QImage image(50, 50, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ship->paint(&painter, nullptr, nullptr);
    painter.end();
    QCOMPARE(image.pixelColor(25, 25), QColor(Qt::white));
}

void ShipTest::paintsSpriteOnCourseRingLabelAndTrack()
{
    ChartOnly c;
    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    QCOMPARE(strip.size(), QSize(11520, 32));

    auto render = [&](double course, bool follow, bool show = true) {
        auto ship = shipWith({{43.0, 15.99, 1000}, {43.0, 16.0, 1060}, {43.0, 16.01, 1120}, {43.0, 16.02, 1180}});
        ship->setSpriteStrip(strip);
        ship->setFarbe(QStringLiteral("#ff0000"));
        ship->shownTrack().setColour(QColor(0, 0, 255));
        ship->setFollow(follow);
        ship->setShow(show);
        TrackPoint p = *ship->positionAt(1180);
        p.course = float(course);
        ship->setCurrentPoint(p);
        ship->setCurrentTime(1180);
        ship->updateOnChart(c.chart);
        QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        ship->paint(&painter, nullptr, nullptr);
        painter.end();
        return std::make_pair(image, ship->pixelPos());
    };

    const auto [north, pos] = render(0, false);
    // The hull points north: long along y, narrow along x.
    QVERIFY(reddish(north.pixelColor(pos + QPoint(0, -10))));
    QVERIFY(reddish(north.pixelColor(pos + QPoint(0, 10))));
    QCOMPARE(north.pixelColor(pos + QPoint(11, 0)), QColor(Qt::white));
    // The track runs west from the boat, in its colour, drawn over nothing else here.
    const QColor track = north.pixelColor(pos + QPoint(-40, 0));
    QVERIFY(track.blue() > 200 && track.red() < 60);
    QCOMPARE(north.pixelColor(pos + QPoint(0, 40)), QColor(Qt::white));
    // No ring without follow.
    QCOMPARE(north.pixelColor(pos + QPoint(-16, 1)), QColor(Qt::white));
    // The speed label sits above the boat.
    int dark = 0;
    for (int x = pos.x() - 7; x < pos.x() + 25; ++x) {
        for (int y = pos.y() - 30; y < pos.y() - 16; ++y)
            dark += north.pixelColor(x, y).value() < 80 ? 1 : 0;
    }
    QVERIFY(dark > 10);

    const auto [east, pos2] = render(90, true);
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(10, 0))));
    QCOMPARE(east.pixelColor(pos2 + QPoint(0, 11)), QColor(Qt::white));
    // The follow ring: red on the ring, white inside it.
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(-16, 1))) || reddish(east.pixelColor(pos2 + QPoint(-15, 1))));
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(1, 18))) || reddish(east.pixelColor(pos2 + QPoint(1, 17))));
    QCOMPARE(east.pixelColor(pos2 + QPoint(12, 12)), QColor(Qt::white));

    const auto [hidden, pos3] = render(0, false, false);
    QCOMPARE(hidden.pixelColor(pos3), QColor(Qt::white));
    QCOMPARE(hidden.pixelColor(pos3 + QPoint(-40, 0)), QColor(Qt::white));
}

void ShipTest::spriteStripHoldsRotatedFrames()
{
    const QImage sprite(QStringLiteral("sprites/ship_32.png"));
    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    QCOMPARE(sprite.size(), QSize(32, 32));
    QVERIFY(sprite.hasAlphaChannel());
    QCOMPARE(qAlpha(sprite.pixel(0, 0)), 0);
    QVERIFY(qAlpha(sprite.pixel(16, 6)) > 150);
    // Frame 90 is the sprite turned a quarter clockwise: the bow points east.
    for (const QPoint &p : {QPoint(16, 4), QPoint(16, 28), QPoint(13, 16), QPoint(2, 2)}) {
        const int rotatedX = 31 - p.y();
        const int rotatedY = p.x();
        QVERIFY(std::abs(qAlpha(sprite.pixel(p)) - qAlpha(strip.pixel(32 * 90 + rotatedX, rotatedY))) < 40);
        QVERIFY(std::abs(qAlpha(sprite.pixel(p)) - qAlpha(strip.pixel(p))) < 10);
    }
    // Frame 180 points south.
    QVERIFY(qAlpha(strip.pixel(32 * 180 + 16, 27)) > 150);
    QCOMPARE(qAlpha(strip.pixel(32 * 180 + 16, 1)), 0);
}

void ShipTest::unfollowAllRestoresColours()
{
    auto a = shipWith(eastward(2));
    auto b = shipWith(eastward(2));
    for (Ship *s : {a.get(), b.get()}) {
        s->setFarbe(QStringLiteral("#00ff00"));
        s->takeBaseFarbe();
        s->setFarbe(QStringLiteral("#123456"));
        s->setFollow(true);
        s->setRaceShips({a.get(), b.get()});
    }
    a->unfollowAll();
    for (Ship *s : {a.get(), b.get()}) {
        QVERIFY(!s->follow());
        QCOMPARE(s->farbe(), QColor(0, 255, 0));
    }
    a->setSpeed(12.44);
    QCOMPARE(a->speedText(), QStringLiteral("12.4"));
    a->setSpeed(0);
    QCOMPARE(a->speedText(), QStringLiteral("0.0"));
}
