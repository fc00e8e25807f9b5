#include "tests/chart/ShipTest.h"

#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "tests/chart/RecordingOwner.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <map>
#include <memory>

namespace {
struct Fix
{
    double lat;
    double lng;
    int time;
};

// A boat with a track of these fixes; the one at courseAt (if any) reported a course.
std::unique_ptr<Ship> shipWith(const QList<Fix> &fixes, int courseAt = -1, double course = 0)
{
    auto ship = std::make_unique<Ship>(7, QStringLiteral("Boot7"), QString(), QString());
    for (int i = 0; i < fixes.size(); ++i)
        ship->fullTrack().append(fixes[i].lat, fixes[i].lng, fixes[i].time, i == courseAt ? course : 0);
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
        : chart(&scene, &owner, &owner.tiles)
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

bool whitish(const QColor &c)
{
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}

// Pixels of an image that something was painted on, white being the empty canvas.
QList<QPoint> paintedPixels(const QImage &image)
{
    QList<QPoint> result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!whitish(image.pixelColor(x, y)))
                result << QPoint(x, y);
        }
    }
    return result;
}

QImage paintOnWhite(Ship &ship, const QSize &size, const QPoint &origin = QPoint())
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(origin);
    ship.paint(&painter, nullptr, nullptr);
    painter.end();
    return image;
}

// A boat on a track east along 43 degrees north, placed at its last point, course north.
std::unique_ptr<Ship> placedBoat(Karte &chart, const QImage &strip, bool follow)
{
    auto ship = shipWith({{43.0, 15.99, 1000}, {43.0, 16.0, 1060}, {43.0, 16.01, 1120}, {43.0, 16.02, 1180}});
    ship->setSpriteStrip(strip);
    ship->setFarbe(QStringLiteral("#ff0000"));
    ship->shownTrack().setColour(QColor(0, 0, 255));
    ship->setFollow(follow);
    TrackPoint p = *ship->positionAt(1180);
    p.course = 0;
    ship->setCurrentPoint(p);
    ship->setCurrentTime(1180);
    ship->updateOnChart(chart);
    return ship;
}
} // namespace

void ShipTest::exactHitReturnsStoredRecordAndKeepsSpeed()
{
    auto ship = shipWith(eastward(5), 2, 77.0);
    ship->setSpeed(3.5);
    const std::optional<TrackPoint> p = ship->positionAt(1120);
    QVERIFY(p);
    QCOMPARE(p->position, GeoPoint(43.0, 16.02));
    QCOMPARE(p->course, 77.0);
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
    QCOMPARE(single->positionAt(900)->course, 0.0);
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

void ShipTest::replayStepsGiveWhatAFreshLookupGives()
{
    // Irregular times, two fixes sharing one, and a leg of no length; looked up as a replay
    // does (small steps on, jumps back, exact hits, beyond both ends), while positions come
    // in at the end and into the past, and the shown track changes.
    QRandomGenerator random(20261208);
    QList<Fix> fixes;
    int time = 5000;
    double lat = 43.0;
    double lng = 16.0;
    for (int i = 0; i < 300; ++i) {
        fixes.append({lat, lng, time});
        if (i != 40)
            time += 1 + int(random.bounded(120));
        if (i != 80) {
            lat += (random.generateDouble() - 0.5) * 0.002;
            lng += (random.generateDouble() - 0.5) * 0.002;
        }
    }
    auto replayed = shipWith(fixes);
    auto compareAt = [&](int t) {
        auto fresh = shipWith(fixes);
        fresh->setSpeed(replayed->speed());
        if (replayed->shownTrack().count() != fixes.size()) {
            fresh->simplify(0.0003);
            fresh->showSimplifiedTrack();
        }
        const std::optional<TrackPoint> got = replayed->positionAt(t);
        const std::optional<TrackPoint> want = fresh->positionAt(t);
        QCOMPARE(got.has_value(), want.has_value());
        QCOMPARE(got->time, want->time);
        QCOMPARE(got->index, want->index);
        QCOMPARE(got->position, want->position);
        QCOMPARE(got->course, want->course);
        QCOMPARE(got->second, want->second);
        QCOMPARE(replayed->speed(), fresh->speed());
    };
    int t = fixes.first().time - 200;
    for (int step = 0; step < 3000; ++step) {
        const int kind = int(random.bounded(100));
        if (kind < 80)
            t += int(random.bounded(40));
        else if (kind < 88)
            t -= int(random.bounded(3000));
        else if (kind < 96)
            t = fixes[int(random.bounded(fixes.size()))].time;
        else
            t = fixes.last().time + int(random.bounded(200)) - 100;
        compareAt(t);
        if (QTest::currentTestFailed())
            return;
        if (step == 1000) {
            // New positions at the end, as a fetch brings them.
            std::vector<TrackPoint> later;
            for (int k = 1; k <= 20; ++k) {
                fixes.append({lat + 0.0001 * k, lng, time + 30 * k});
                later.emplace_back(lat + 0.0001 * k, lng, time + 30 * k, 0, 0);
            }
            replayed->fullTrack().merge(later);
            replayed->setPointCount(replayed->fullTrack().count());
        }
        if (step == 1600) {
            // A position the server sent late, into the middle of the race.
            const Fix late{43.001, 16.001, fixes[150].time + 1};
            QVERIFY(late.time < fixes[151].time);
            fixes.insert(151, late);
            replayed->fullTrack().merge({TrackPoint(late.lat, late.lng, late.time, 0, 0)});
            replayed->setPointCount(replayed->fullTrack().count());
        }
        if (step == 2200) {
            replayed->simplify(0.0003);
            replayed->showSimplifiedTrack();
            QVERIFY(replayed->shownTrack().count() < fixes.size());
        }
        if (step == 1900) {
            // The track read anew, the same times at other places.
            replayed->fullTrack().clear();
            for (Fix &fix : fixes) {
                fix.lat += 0.01;
                replayed->fullTrack().append(fix.lat, fix.lng, fix.time, 0);
            }
            replayed->showFullTrack();
        }
    }
}

void ShipTest::storedRowsMergeInLeavingOutHeldTimes()
{
    QRandomGenerator random(8122026);
    for (int round = 0; round < 40; ++round) {
        // Held: every third second or so; coming: sorted, some at held times, some twice.
        Track track;
        std::map<qint32, GeoPoint> expected;
        qint32 t = 1000;
        for (int i = 0; i < int(random.bounded(50)); ++i) {
            t += 1 + int(random.bounded(5));
            const GeoPoint p(43 + random.generateDouble(), 16 + random.generateDouble());
            track.append(p.lat, p.lng, t, 0);
            expected[t] = p;
        }
        const bool allLater = round % 4 == 0;
        std::vector<PositionRow> rows;
        qint32 u = allLater ? t : 990;
        for (int i = 0; i < int(random.bounded(60)); ++i) {
            u += int(random.bounded(4)) + (allLater ? 1 : 0);
            rows.push_back({44 + random.generateDouble(), 17 + random.generateDouble(), u, 90});
            expected.try_emplace(u, GeoPoint(rows.back().lat, rows.back().lng));
        }
        Track simplified;
        QList<QPair<qint32, GeoPoint>> picked;
        for (int i = 0; i < track.count(); i += 2) {
            simplified.append(track, i);
            picked.append({track.time(i), track.position(i)});
        }
        const int heldBefore = track.count();
        const quint64 revision = track.revision();
        const auto firstNew = std::find_if(rows.begin(), rows.end(), [&](const PositionRow &r) {
            return track.indexOfTime(r.time) < 0;
        });
        const bool inOrder = heldBefore == 0 || firstNew == rows.end() || firstNew->time > t;

        const int added = track.mergeNew(rows);

        QCOMPARE(added, int(expected.size()) - heldBefore);
        QCOMPARE(track.count(), int(expected.size()));
        int i = 0;
        for (const auto &[time, position] : expected) {
            QCOMPARE(track.time(i), time);
            QCOMPARE(track.position(i), position);
            ++i;
        }
        // Added after all held ones, nothing drawn from the track moves; else it is drawn anew.
        QCOMPARE(track.revision() == revision, inOrder);
        QVERIFY(!allLater || inOrder);
        // A track picking records of this one keeps seeing what it picked.
        QCOMPARE(simplified.count(), int(picked.size()));
        for (int k = 0; k < simplified.count(); ++k) {
            QCOMPARE(simplified.time(k), picked[k].first);
            QCOMPARE(simplified.position(k), picked[k].second);
        }
    }
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
    QCOMPARE(ell->simplifiedTrack().point(0).time, ell->fullTrack().point(0).time);
    QCOMPARE(ell->simplifiedTrack().last().time, ell->fullTrack().last().time);
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
    for (int i = 0; i < 9; ++i)
        QCOMPARE(simplified.point(i).position, ship->fullTrack().point(i).position);
    // More positions may arrive in the full track; the simplified one stays valid.
    ship->fullTrack().append(43.5, 16.5, 5000, 0);
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
    ship->setCurrentPoint(ship->fullTrack().point(1));
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 1);

    // With the track off the line stays as it was.
    const QPolygonF before = ship->trackLine();
    ship->setShowTrack(false);
    ship->setCurrentPoint(*ship->positionAt(last));
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine(), before);
    for (const QPointF &p : before)
        QVERIFY(ship->boundingRect().contains(p));
}

void ShipTest::boatWithoutCurrentPointIsSkipped()
{
    ChartOnly c;
    auto ship = shipWith({{43.0, 16.0, 1000}});
    ship->setSpriteStrip(QImage(QStringLiteral("sprites/shipstrip.png")));
    ship->setFarbe(QStringLiteral("#ff0000"));
    QVERIFY(!ship->hasCurrentPoint());
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->pixelPos(), QPoint(0, 0));
    QVERIFY(ship->trackLine().isEmpty());
    // Its position would be (0, 0): the canvas is placed so that a boat there would show.
    QVERIFY(paintedPixels(paintOnWhite(*ship, QSize(80, 80), QPoint(40, 40))).isEmpty());

    // The same boat with a position draws there, so the canvas would have shown it.
    ship->setCurrentPoint(ship->fullTrack().point(0));
    ship->updateOnChart(c.chart);
    const QPoint at = ship->pixelPos();
    QVERIFY(!paintedPixels(paintOnWhite(*ship, QSize(80, 80), QPoint(40, 40) - at)).isEmpty());
}

void ShipTest::paintsSpriteOnCourseRingLabelAndTrack()
{
    ChartOnly c;
    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    QCOMPARE(strip.size(), QSize(11520, 32));

    auto render = [&](double course, bool follow, bool show = true) {
        auto ship = placedBoat(c.chart, strip, follow);
        ship->setShow(show);
        TrackPoint p = ship->currentPoint();
        p.course = course;
        ship->setCurrentPoint(p);
        ship->updateOnChart(c.chart);
        return std::make_pair(paintOnWhite(*ship, QSize(400, 300)), ship->pixelPos());
    };
    // Pixels of the track's blue in one column across the track, 40 pixels behind the boat.
    auto trackWidth = [](const QImage &image, const QPoint &pos) {
        int blue = 0;
        for (int y = pos.y() - 6; y <= pos.y() + 6; ++y) {
            const QColor c = image.pixelColor(pos.x() - 40, y);
            blue += c.blue() > 200 && c.red() < 60 && c.green() < 60 ? 1 : 0;
        }
        return blue;
    };

    const auto [north, pos] = render(0, false);
    // The hull points north: long along y, narrow along x.
    QVERIFY(reddish(north.pixelColor(pos + QPoint(0, -10))));
    QVERIFY(reddish(north.pixelColor(pos + QPoint(0, 10))));
    QVERIFY(whitish(north.pixelColor(pos + QPoint(11, 0))));
    // The track runs west from the boat, in its colour, one pixel wide, drawn over nothing
    // else here.
    QCOMPARE(trackWidth(north, pos), 1);
    QVERIFY(whitish(north.pixelColor(pos + QPoint(0, 40))));
    // No ring without follow.
    QVERIFY(whitish(north.pixelColor(pos + QPoint(-16, 1))));
    // The speed label sits above the boat.
    int dark = 0;
    for (int x = pos.x() - 7; x < pos.x() + 25; ++x) {
        for (int y = pos.y() - 30; y < pos.y() - 16; ++y)
            dark += north.pixelColor(x, y).value() < 80 ? 1 : 0;
    }
    QVERIFY(dark > 10);

    const auto [east, pos2] = render(90, true);
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(10, 0))));
    QVERIFY(whitish(east.pixelColor(pos2 + QPoint(0, 11))));
    // The follow ring: red on the ring, white inside it.
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(-16, 1))) || reddish(east.pixelColor(pos2 + QPoint(-15, 1))));
    QVERIFY(reddish(east.pixelColor(pos2 + QPoint(1, 18))) || reddish(east.pixelColor(pos2 + QPoint(1, 17))));
    QVERIFY(whitish(east.pixelColor(pos2 + QPoint(12, 12))));
    // The followed boat's track is two pixels wide.
    QCOMPARE(trackWidth(east, pos2), 2);

    const auto [hidden, pos3] = render(0, false, false);
    QVERIFY(paintedPixels(hidden).isEmpty());
}

void ShipTest::spriteFrameIsTheTruncatedCourse()
{
    // A strip whose frame 44 is solid and every other frame empty: the boat image shows
    // whether frame 44 was taken.
    QImage strip(32 * 360, 32, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter(&strip).fillRect(QRect(32 * 44, 0, 32, 32), Qt::black);

    ChartOnly c;
    // A course as a position line may carry it, a hair below 45 degrees.
    const double course = 44.99999999;
    auto ship = shipWith({{43.0, 16.0, 1000}, {43.0, 16.01, 1060}}, 0, course);
    ship->setSpriteStrip(strip);
    ship->setFarbe(QStringLiteral("#ff0000"));
    const std::optional<TrackPoint> p = ship->positionAt(1000);
    QVERIFY(p);
    // Stored more coarsely, but never at or past the next whole degree.
    QVERIFY(p->course < 45.0);
    QVERIFY(p->course > 44.9999);
    ship->setCurrentPoint(*p);
    ship->setCurrentTime(1000);
    ship->updateOnChart(c.chart);
    QCOMPARE(qAlpha(ship->boatImage().pixel(16, 16)), 255);

    // A whole 45 takes frame 45, empty here.
    TrackPoint whole = *p;
    whole.course = 45.0;
    ship->setCurrentPoint(whole);
    ship->updateOnChart(c.chart);
    QCOMPARE(qAlpha(ship->boatImage().pixel(16, 16)), 0);
}

void ShipTest::boundingRectCoversAllThatIsPainted()
{
    // The view repaints an item only where its rectangle says it is: a tile that loads
    // under a boat must find the whole boat, sprite, ring and label included.
    ChartOnly c;
    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    auto ship = placedBoat(c.chart, strip, true);
    ship->setSpeed(123.4);
    ship->updateOnChart(c.chart);
    const QList<QPoint> painted = paintedPixels(paintOnWhite(*ship, QSize(400, 300)));
    QVERIFY(painted.size() > 100);
    const QRectF bounds = ship->boundingRect();
    for (const QPoint &p : painted)
        QVERIFY2(bounds.contains(QPointF(p) + QPointF(0.5, 0.5)),
                 qPrintable(QStringLiteral("pixel %1, %2 painted outside the item").arg(p.x()).arg(p.y())));

    // A boat alone, without a leg behind it yet: its rectangle still holds the boat.
    ship->setCurrentPoint(ship->fullTrack().point(1));
    ship->setCurrentPoint(ship->fullTrack().point(1));
    ship->updateOnChart(c.chart);
    QCOMPARE(ship->trackLine().size(), 1);
    QVERIFY(ship->boundingRect().contains(QRectF(ship->pixelPos() - QPoint(16, 16), QSizeF(32, 32))));
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
