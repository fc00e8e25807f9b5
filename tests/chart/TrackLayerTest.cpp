#include "tests/chart/TrackLayerTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/PaintedBands.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/SpeedLegend.h"
#include "chart/SpeedScale.h"
#include "chart/TrackLayer.h"
#include "tests/chart/RecordingOwner.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRandomGenerator>
#include <QStaticText>
#include <QTest>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace {
constexpr int start = 100000;
constexpr int step = 60;

// Northward per minute: the whole race stays in the view.
constexpr double rise = 0.00006;

// Boats beating to windward, each tacking every few minutes, and drifting apart or together
// so that their tracks cross at many different times.
struct Fleet
{
    Fleet(int boats, int points, double swing, bool sameColour)
        : chart(&scene, &owner, &owner.tiles)
    {
        chart.resize(640, 420);
        chart.setZoom(13);
        chart.setCenter(43.0 + rise * points / 2, 16.0);
        chart.refresh();
        const QImage strip(QStringLiteral("sprites/shipstrip.png"));
        for (int b = 0; b < boats; ++b) {
            auto ship = std::make_unique<Ship>(b + 1, QStringLiteral("Boot%1").arg(b + 1), QString(), QString());
            const double lane = 16.0 + 0.003 * (b - boats / 2);
            const double drift = (b % 2 ? 1 : -1) * 0.00002 * (1 + b % 3);
            for (int i = 0; i < points; ++i) {
                const double phase = double((i + 3 * b) % 8) / 8.0;
                const double zigzag = std::abs(phase - 0.5) * 2.0 - 0.5;
                ship->fullTrack().append(43.0 + rise * i, lane + drift * (i - points / 2) + swing * zigzag,
                                         start + step * i, (i + b) * 37 % 360);
            }
        ship->setPointCount(points);
            ship->showFullTrack();
            ship->setReady(true);
            ship->setSpriteStrip(strip);
            ship->setFarbe(QColor::fromHsv(40 * b, 200, 220));
            ship->shownTrack().setColour(sameColour ? QColor(20, 40, 200) : QColor::fromHsv(40 * b, 255, 160));
            scene.addItem(ship.get());
            ships.push_back(std::move(ship));
        }
    }
    ~Fleet()
    {
        for (auto &ship : ships)
            scene.removeItem(ship.get());
    }

    // A replay step as the window makes it: every boat to the time, the chart updated and
    // painted.
    void stepTo(int t)
    {
        for (auto &ship : ships) {
            ship->setCurrentTime(t);
            if (const std::optional<TrackPoint> p = ship->positionAt(t))
                ship->setCurrentPoint(*p);
            ship->updateOnChart(chart);
        }
        screen = chart.grab().toImage();
    }

    bool allInView() const
    {
        for (const auto &ship : ships) {
            if (!chart.rect().contains(ship->pixelPos()))
                return false;
        }
        return true;
    }

    // The chart painted with nothing kept from before.
    QImage fresh()
    {
        chart.trackLayer()->invalidate();
        chart.resetCachedContent();
        return chart.grab().toImage();
    }

    RecordingOwner owner;
    Scheme scene;
    Karte chart;
    std::vector<std::unique_ptr<Ship>> ships;
    QImage screen;
};

// Every boat's line drawn in one piece over the bare chart, as a boat draws itself. Lines
// cut at points join there a little differently, so pixels next to a point may differ.
void compareWithWholeLines(Fleet &fleet)
{
    for (auto &ship : fleet.ships) {
        ship->setShowSprite(false);
        ship->setShowLabel(false);
    }
    fleet.stepTo(fleet.ships.front()->currentTime());
    const QImage layered = fleet.screen.convertToFormat(QImage::Format_RGB32);
    for (auto &ship : fleet.ships)
        ship->setShow(false);
    QImage whole = fleet.chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage nearPoint(whole.size(), QImage::Format_Grayscale8);
    nearPoint.fill(0);
    {
        QPainter painter(&whole);
        for (auto &ship : fleet.ships) {
            ship->setShow(true);
            QPen pen(ship->shownTrack().colour());
            pen.setCosmetic(true);
            painter.setPen(pen);
            const QPolygonF line = ship->trackLine();
            painter.drawPolyline(line.toPolygon());
            for (const QPointF &p : line)
                nearPoint.setPixel(p.toPoint().x(), p.toPoint().y(), 255);
        }
    }
    const QRgb colour = fleet.ships.front()->shownTrack().colour().rgb();
    int drawn = 0;
    QList<QPoint> away;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            drawn += whole.pixel(x, y) == colour ? 1 : 0;
            if (whole.pixel(x, y) == layered.pixel(x, y))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = nearPoint.valid(x + dx, y + dy) && qGray(nearPoint.pixel(x + dx, y + dy)) > 0;
            }
            if (!near)
                away << QPoint(x, y);
        }
    }
    QVERIFY(drawn > 500);
    QVERIFY2(away.isEmpty(), qPrintable(QStringLiteral("%1 pixels differ away from points, first at %2,%3")
                                            .arg(away.size())
                                            .arg(away.value(0).x())
                                            .arg(away.value(0).y())));
}

int differing(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            n += p[col] != q[col] ? 1 : 0;
    }
    return n;
}

// The steps of the speed scale whose colour some pixel has.
std::set<int> scaleStepsIn(const QImage &image)
{
    const QImage x = image.convertToFormat(QImage::Format_RGB32);
    std::set<int> steps;
    for (int s = 0; s < SpeedScale::steps; ++s) {
        const QRgb colour = SpeedScale::colour(s).rgb();
        for (int row = 0; row < x.height() && !steps.count(s); ++row) {
            const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
            for (int col = 0; col < x.width(); ++col) {
                if (p[col] == colour) {
                    steps.insert(s);
                    break;
                }
            }
        }
    }
    return steps;
}

bool holdsColour(const QImage &image, const QColor &colour)
{
    const QImage x = image.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (p[col] == colour.rgb())
                return true;
        }
    }
    return false;
}
} // namespace

// Both renders come from the same raster engine in this process, so they must agree to the
// pixel, also where tracks of different colours cross.
void TrackLayerTest::crossingTracksLookTheSameWhateverWasCached()
{
    Fleet fleet(6, 400, 0.004, false);
    fleet.ships[2]->setFollow(true);
    // Past the legs a boat adds over the picture before it is drawn anew, and back.
    for (int t = start + 30 * step; t < start + 330 * step; t += 7 * step)
        fleet.stepTo(t);
    QVERIFY(fleet.allInView());
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    fleet.stepTo(start + 100 * step + 13);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);

    // Following another boat, hiding one and switching a track off.
    fleet.ships[2]->setFollow(false);
    fleet.ships[4]->setFollow(true);
    fleet.ships[1]->setShow(false);
    fleet.ships[3]->setShowTrack(false);
    fleet.stepTo(start + 120 * step);
    fleet.stepTo(start + 121 * step);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
}

void TrackLayerTest::linesMatchWholeLinesBesidePoints()
{
    Fleet complete(6, 400, 0.004, true);
    for (int t = start + 30 * step; t < start + 330 * step; t += 7 * step)
        complete.stepTo(t);
    compareWithWholeLines(complete);

    Fleet tails(6, 600, 0.004, true);
    for (auto &ship : tails.ships)
        ship->setShowCompleteTrack(false);
    for (int t = start + 150 * step; t < start + 560 * step; t += 3 * step + 17)
        tails.stepTo(t);
    compareWithWholeLines(tails);
}

// With three-hour tails the oldest legs leave as the replay moves on.
void TrackLayerTest::tailsLookTheSameWhateverWasCached()
{
    Fleet fleet(5, 600, 0.004, false);
    for (auto &ship : fleet.ships)
        ship->setShowCompleteTrack(false);
    fleet.stepTo(start + 300 * step);
    QVERIFY(fleet.allInView());
    for (int t = start + 150 * step; t < start + 560 * step; t += 3 * step + 17) {
        fleet.stepTo(t);
        if ((t - start) % 11 == 0)
            QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    }
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    // Back in time.
    fleet.stepTo(start + 200 * step);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
}

void TrackLayerTest::replayStepsReuseThePicture()
{
    Fleet fleet(4, 300, 0.004, true);
    const TrackLayer &layer = *fleet.chart.trackLayer();
    fleet.stepTo(start + 100 * step);
    const int first = layer.rebuilds();
    QVERIFY(first >= 1);
    // Within a checkpoint's interval and past the next ones: the picture is kept, and
    // each new interval only adds its pieces.
    for (int k = 1; k <= 20; ++k)
        fleet.stepTo(start + 100 * step + 10 * k);
    QCOMPARE(layer.rebuilds(), first);
    const int extended = layer.extensions();
    fleet.stepTo(start + 100 * step + 3 * TrackLayer::pieceSeconds);
    QCOMPARE(layer.rebuilds(), first);
    QVERIFY(layer.extensions() > extended);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    const int fresh = layer.rebuilds();
    QCOMPARE(fresh, first + 1);

    // A new position in the past of a boat changes its line: drawn anew.
    fleet.ships[0]->fullTrack().merge({TrackPoint(43.01, 16.0, start + 5 * step + 30, 0, 0)});
    fleet.ships[0]->setPointCount(fleet.ships[0]->fullTrack().count());
    fleet.ships[0]->showFullTrack();
    fleet.stepTo(start + 160 * step);
    QCOMPARE(layer.rebuilds(), fresh + 1);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);

    // Zooming draws anew; so does a time before the picture.
    fleet.chart.setZoom(12);
    fleet.chart.refresh();
    fleet.stepTo(start + 160 * step + 10);
    QCOMPARE(layer.rebuilds(), fresh + 3);
    fleet.stepTo(start + 50 * step);
    QCOMPARE(layer.rebuilds(), fresh + 4);
}

// The speed label is laid out once and drawn from that layout; it must look as plain text
// drawn at the same baseline.
void TrackLayerTest::labelsMatchPlainText()
{
    const QFont font(QStringLiteral("Arial"), 10, QFont::Bold);
    const qreal ascent = QFontMetricsF(font).ascent();
    for (const QString &text : {QStringLiteral("0.0"), QStringLiteral("7.4"), QStringLiteral("12.9"),
                                QStringLiteral("143.5")}) {
        QImage plain(80, 30, QImage::Format_ARGB32_Premultiplied);
        plain.fill(Qt::white);
        QImage laidOut = plain;
        QPen pen(Qt::black);
        pen.setWidth(2);
        {
            QPainter p(&plain);
            p.setPen(pen);
            p.setFont(font);
            p.drawText(QPoint(9, 21), text);
        }
        {
            QPainter p(&laidOut);
            p.setPen(pen);
            p.setFont(font);
            QStaticText label(text);
            label.prepare(QTransform(), font);
            p.drawStaticText(QPointF(9, 21 - ascent), label);
        }
        QCOMPARE(differing(plain, laidOut), 0);
    }
}

// Coloured legs are drawn colour by colour within each piece of time; the picture must
// still look the same however it came about, where boards of different speed cross too.
void TrackLayerTest::speedColouredTracksLookTheSameWhateverWasCached()
{
    Fleet fleet(6, 400, 0.004, false);
    // The fleet's own range: each boat's two boards, one a little faster than the other,
    // fall into different colours.
    double low = 1e9;
    double high = 0;
    for (const auto &ship : fleet.ships) {
        for (int i = 0; i < ship->fullTrack().segmentCount(); ++i) {
            low = std::min(low, SpeedScale::legKnots(ship->fullTrack(), i));
            high = std::max(high, SpeedScale::legKnots(ship->fullTrack(), i));
        }
    }
    fleet.chart.setSpeedScale(SpeedScale(low, high));
    fleet.ships[2]->setFollow(true);
    for (int t = start + 30 * step; t < start + 330 * step; t += 7 * step)
        fleet.stepTo(t);
    QVERIFY(fleet.allInView());
    const QImage coloured = fleet.screen;
    QCOMPARE(differing(coloured, fleet.fresh()), 0);
    QVERIFY(scaleStepsIn(coloured).size() >= 3);
    for (const auto &ship : fleet.ships)
        QVERIFY(!holdsColour(coloured, ship->shownTrack().colour()));

    for (auto &ship : fleet.ships)
        ship->setShowCompleteTrack(false);
    for (int t = start + 150 * step; t < start + 390 * step; t += 3 * step + 17)
        fleet.stepTo(t);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);

    // Another range, then none: the picture is drawn anew each time, at last in the boats'
    // own colours.
    const TrackLayer &layer = *fleet.chart.trackLayer();
    const int before = layer.rebuilds();
    fleet.chart.setSpeedScale(SpeedScale(low, low + 1.0));
    fleet.stepTo(fleet.ships.front()->currentTime());
    QCOMPARE(layer.rebuilds(), before + 1);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    fleet.chart.setSpeedScale(std::nullopt);
    fleet.stepTo(fleet.ships.front()->currentTime());
    QCOMPARE(layer.rebuilds(), before + 3);
    QVERIFY(scaleStepsIn(fleet.screen).empty());
    QVERIFY(holdsColour(fleet.screen, fleet.ships[0]->shownTrack().colour()));
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
}

void TrackLayerTest::legendShowsOnlyWithSpeedColours()
{
    Fleet fleet(1, 10, 0.0, true);
    fleet.chart.show();
    const SpeedLegend *legend = fleet.chart.speedLegend();
    QVERIFY(!legend->isVisible());
    QVERIFY(!fleet.chart.speedScale());
    fleet.chart.setSpeedScale(SpeedScale(2.5, 9.0));
    QVERIFY(legend->isVisible());
    QCOMPARE(legend->scale(), SpeedScale(2.5, 9.0));
    // In the lower left corner, clear of the scale bar on the right.
    QVERIFY(fleet.chart.rect().contains(legend->geometry()));
    QVERIFY(legend->geometry().right() < fleet.chart.width() / 2);
    QVERIFY(legend->geometry().bottom() > fleet.chart.height() - 20);
    fleet.chart.resize(500, 300);
    QVERIFY(legend->geometry().bottom() > 280);
    fleet.chart.setSpeedScale(std::nullopt);
    QVERIFY(!legend->isVisible());
}

void TrackLayerTest::speedStepsLeaveOutStrayLegs()
{
    // A minute a fix: 100 legs at 5 kn, 100 at 8 kn, a jump of the GPS of ten miles in a
    // minute, and a repeated fix with no time between.
    Track track;
    double lat = 43.0;
    int t = start;
    track.append(lat, 16.0, t, 0);
    for (int i = 0; i < 200; ++i) {
        lat += (i < 100 ? 5.0 : 8.0) / 60.0 / 60.0;
        t += 60;
        track.append(lat, 16.0, t, 0);
    }
    lat += 10.0 / 60.0;
    t += 60;
    track.append(lat, 16.0, t, 0);
    track.append(lat + 0.01, 16.0, t, 0);
    QVERIFY(std::abs(SpeedScale::legKnots(track, 0) - 5.0) < 0.01);
    QCOMPARE(SpeedScale::legKnots(track, track.segmentCount() - 1), 0.0);

    const SpeedScale scale = SpeedScale::ofTracks({&track});
    QVERIFY(scale.lowKnots() <= 5.0 && scale.lowKnots() >= 4.5);
    QVERIFY(scale.highKnots() >= 8.0 && scale.highKnots() <= 8.5);
    QCOMPARE(scale.stepOf(4.0), 0);
    QCOMPARE(scale.stepOf(std::nan("")), 0);
    QCOMPARE(scale.stepOf(600.0), SpeedScale::steps - 1);
    QCOMPARE(scale.stepOfLeg(track, 0), scale.stepOf(5.0));
    QVERIFY(scale.stepOfLeg(track, 150) > scale.stepOfLeg(track, 50));
    // Blue to red, the hue falling step by step.
    QCOMPARE(SpeedScale::colour(0).hue(), 240);
    QCOMPARE(SpeedScale::colour(SpeedScale::steps - 1).hue(), 0);
    for (int s = 1; s < SpeedScale::steps; ++s)
        QVERIFY(SpeedScale::colour(s).hue() < SpeedScale::colour(s - 1).hue());
    // Nothing to measure: a range all the same.
    QCOMPARE(SpeedScale::ofTracks({}), SpeedScale());
}

// A picture of many legs is drawn a slice per paint; what the slices end up with is the
// picture drawn at once, also when the replay adds pieces before the last slice.
void TrackLayerTest::bigPicturesAreDrawnInSlices()
{
    for (const bool coloured : {false, true}) {
        Fleet fleet(6, 400, 0.004, false);
        if (coloured) {
            QList<const Track *> tracks;
            for (const auto &ship : fleet.ships)
                tracks << &ship->shownTrack();
            fleet.chart.setSpeedScale(SpeedScale::ofTracks(tracks));
        }
        TrackLayer &layer = *fleet.chart.trackLayer();
        fleet.stepTo(start + 300 * step);
        const QImage atOnce = fleet.fresh();
        QVERIFY(layer.complete());

        // A slice of one piece (or one checkpoint interval) per paint.
        layer.setSlicing(100, 0);
        layer.invalidate();
        fleet.stepTo(start + 300 * step);
        QVERIFY(!layer.complete());
        QVERIFY(differing(fleet.screen, atOnce) > 0);
        int paints = 1;
        while (!layer.complete() && paints < 10000) {
            fleet.stepTo(start + 300 * step);
            ++paints;
        }
        QVERIFY(layer.complete());
        QVERIFY(paints > 10);
        QCOMPARE(differing(fleet.screen, atOnce), 0);

        // New pieces while slices are still to come go after them.
        layer.invalidate();
        fleet.stepTo(start + 200 * step);
        for (int k = 0; k < 5; ++k)
            fleet.stepTo(start + 200 * step + k * TrackLayer::pieceSeconds);
        QVERIFY(!layer.complete());
        const int rebuilds = layer.rebuilds();
        while (!layer.complete())
            fleet.stepTo(start + 200 * step + 4 * TrackLayer::pieceSeconds);
        QCOMPARE(layer.rebuilds(), rebuilds);
        const QImage sliced = fleet.screen;
        layer.setSlicing(TrackLayer::defaultSliceLegs, TrackLayer::defaultSliceMs);
        QCOMPARE(differing(sliced, fleet.fresh()), 0);
    }
}

void TrackLayerTest::onlyPaintedBandsAreBlended()
{
    // Sparse lines in translucent colours, drawn in three rounds with a scan after each, over
    // a background of noise: blending the bands must give the whole picture's blend exactly,
    // and every painted pixel must lie in a band.
    QRandomGenerator random(20261208);
    QImage picture(333, 250, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    PaintedBands bands;
    bands.reset(picture);
    QImage under(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < under.height(); ++y) {
        for (int x = 0; x < under.width(); ++x)
            under.setPixel(x, y, random.generate() | 0xff000000u);
    }
    auto blended = [&](bool onlyBands, const QTransform &transform, qreal dpr) {
        QImage target = under.copy();
        QImage shown = picture;
        shown.setDevicePixelRatio(dpr);
        QPainter painter(&target);
        painter.setTransform(transform);
        if (onlyBands)
            bands.drawOver(painter, shown);
        else
            painter.drawImage(QPoint(0, 0), shown);
        return target;
    };
    for (int round = 0; round < 3; ++round) {
        {
            QPainter painter(&picture);
            for (int k = 0; k < 4 + round * 6; ++k) {
                painter.setPen(QColor::fromRgba(random.generate() | 0x20000000u));
                // Some lines reach the picture's last column and row, some a single pixel.
                painter.drawLine(int(random.bounded(340)), int(random.bounded(260)), int(random.bounded(340)),
                                 int(random.bounded(260)));
                painter.drawPoint(int(random.bounded(333)), int(random.bounded(250)));
            }
        }
        bands.scan(picture);
        QCOMPARE(blended(true, QTransform(), 1.0), blended(false, QTransform(), 1.0));
        QCOMPARE(blended(true, QTransform::fromTranslate(7, -3), 1.0), blended(false, QTransform::fromTranslate(7, -3), 1.0));
        // A half-pixel shift or a dense screen: the whole picture, as before.
        QCOMPARE(blended(true, QTransform::fromTranslate(0.5, 0), 1.0), blended(false, QTransform::fromTranslate(0.5, 0), 1.0));
        QCOMPARE(blended(true, QTransform(), 2.0), blended(false, QTransform(), 2.0));
        int outside = 0;
        const std::vector<QRect> rects = bands.rects();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (qAlpha(picture.pixel(x, y)) == 0 && picture.pixel(x, y) == 0)
                    continue;
                outside += std::none_of(rects.begin(), rects.end(), [&](const QRect &r) { return r.contains(x, y); });
            }
        }
        QCOMPARE(outside, 0);
    }
    // An empty picture blends nothing.
    picture.fill(Qt::transparent);
    bands.reset(picture);
    bands.scan(picture);
    QVERIFY(bands.rects().empty());
}

namespace {
int pixelsOf(const QImage &image, const QColor &colour)
{
    const QImage x = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            n += p[col] == colour.rgb() ? 1 : 0;
    }
    return n;
}
} // namespace

void TrackLayerTest::gatesLieUnderTheTracksAndFollowTheChart()
{
    // A gate right across the fleet, drawn into the kept picture with the tracks.
    Fleet fleet(4, 300, 0.004, false);
    for (auto &ship : fleet.ships) {
        ship->setShowSprite(false);
        ship->setShowLabel(false);
    }
    auto gate = std::make_unique<GateItem>(43.0 + rise * 120, 15.99, 43.0 + rise * 120, 16.01, 0, 0,
                                           QStringLiteral("Ziel"), true);
    fleet.chart.placeGates({gate.get()});
    const int t = start + 250 * step;
    fleet.stepTo(t);
    const QImage withGate = fleet.screen;
    QCOMPARE(differing(withGate, fleet.fresh()), 0);
    const QColor gateColour = QColor::fromRgba(gate->lineColour());
    QVERIFY(pixelsOf(withGate, gateColour) > 100);

    // Where a track runs, the gate does not show over it.
    gate->setVisible(false);
    fleet.stepTo(t);
    const QImage without = fleet.screen.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(pixelsOf(without, gateColour), 0);
    const QImage with = withGate.convertToFormat(QImage::Format_RGB32);
    int tracked = 0;
    int covered = 0;
    for (int y = 0; y < without.height(); ++y) {
        for (int x = 0; x < without.width(); ++x) {
            const bool onTrack = std::any_of(fleet.ships.begin(), fleet.ships.end(), [&](const auto &ship) {
                return without.pixel(x, y) == ship->shownTrack().colour().rgb();
            });
            tracked += onTrack ? 1 : 0;
            covered += onTrack && with.pixel(x, y) != without.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY(tracked > 1000);
    QCOMPARE(covered, 0);
    gate->setVisible(true);

    // Moved with the chart, recoloured: the picture follows, as a fresh one shows it.
    fleet.chart.panBy(QPoint(37, -21));
    fleet.stepTo(t);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);
    QVERIFY(differing(fleet.screen, withGate) > 0);
    gate->setLineColour(10, 200, 220);
    fleet.stepTo(t);
    QVERIFY(pixelsOf(fleet.screen, QColor(10, 200, 220)) > 100);
    QCOMPARE(pixelsOf(fleet.screen, gateColour), 0);
    QCOMPARE(differing(fleet.screen, fleet.fresh()), 0);

    // Taken off the chart: gone from the picture, and the item paints itself again.
    fleet.chart.placeGates({});
    QVERIFY(!gate->inChartPicture());
    fleet.scene.removeItem(gate.get());
    fleet.stepTo(t);
    QCOMPARE(pixelsOf(fleet.screen, QColor(10, 200, 220)), 0);
}

void TrackLayerTest::renderingElsewhereShowsTheBoatsAsTheyAre()
{
    // As a captured replay frame is made: the boats moved past checkpoints, tails and all,
    // and the chart rendered into an image before the screen was painted again.
    Fleet fleet(4, 300, 0.004, false);
    for (auto &ship : fleet.ships)
        ship->setShowCompleteTrack(false);
    fleet.stepTo(start + 150 * step);
    const int later = start + 150 * step + 2 * TrackLayer::pieceSeconds + 17;
    for (auto &ship : fleet.ships) {
        ship->setCurrentTime(later);
        ship->setCurrentPoint(*ship->positionAt(later));
        ship->updateOnChart(fleet.chart);
    }
    QImage rendered(fleet.chart.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    {
        QPainter painter(&rendered);
        fleet.chart.prepareTrackPicture();
        fleet.chart.render(&painter, QRectF(rendered.rect()), fleet.chart.viewport()->rect(), Qt::KeepAspectRatio);
    }
    fleet.stepTo(later);
    QCOMPARE(differing(rendered, fleet.screen), 0);
    QCOMPARE(differing(rendered, fleet.fresh()), 0);
}
