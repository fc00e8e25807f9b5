// A replay tick of a large race, as the animation makes it: setUhrzeit and a full repaint
// of a 1,920 x 1,080 chart with the whole fleet in view, with complete tracks and with
// three-hour tails, beside the raw limits of the same drawing; then how the tick grows with
// the number of boats; with tracks coloured by speed, and what the ranking tab adds.
//   bench_replay [boats] [positions per boat] [ticks]
#include "bench/BenchRace.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/SpeedScale.h"
#include "chart/TrackLayer.h"
#include "race/Regatta.h"
#include "window/MainWindow.h"
#include "window/RaceRanking.h"
#include "window/RankingTable.h"

#include <QApplication>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cmath>

using namespace BenchRace;

namespace {
QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

int middle(int positions)
{
    return firstTime + stepSeconds * (positions / 2);
}

// Centre and the largest zoom at which every boat of the race lies in the view.
void showWholeFleet(Viewer &viewer, int t)
{
    Karte *chart = viewer.window->chart();
    viewer.window->setUhrzeit(t);
    double south = 90, north = -90, west = 180, east = -180;
    for (const Ship *ship : viewer.regatta->ships()) {
        const GeoPoint p = ship->currentPoint().position;
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
        west = std::min(west, p.lng);
        east = std::max(east, p.lng);
    }
    chart->setCenter((south + north) / 2, (west + east) / 2);
    for (int zoom = Karte::maxZoom; zoom >= Karte::minZoom; --zoom) {
        chart->setZoom(zoom);
        chart->refresh();
        const QRect view(QPoint(0, 0), chart->size());
        const QPoint a = chart->getPixelPosForCoordinates(west, north);
        const QPoint b = chart->getPixelPosForCoordinates(east, south);
        if (view.contains(a) && view.contains(b))
            break;
    }
}

struct Tick
{
    double total;
    double move;
    double paint;
    int rebuilds;
};

// Medians of the whole tick and of its two halves, moving the boats and painting.
Tick tickMs(Viewer &viewer, int positions, int ticks, bool complete)
{
    viewer.regatta->setShowCompleteTracks(viewer.regatta->raceId(), complete);
    int t = middle(positions);
    Karte *chart = viewer.window->chart();
    // One tick to settle what the first one does once.
    viewer.window->setUhrzeit(t);
    chart->viewport()->repaint();
    while (!chart->trackLayer()->complete())
        chart->viewport()->repaint();
    QList<double> totals, moves, paints;
    const int rebuilds = chart->trackLayer()->rebuilds();
    for (int k = 0; k < ticks; ++k) {
        t += 10;
        const double a = threadCpuMs();
        viewer.window->setUhrzeit(t);
        const double b = threadCpuMs();
        chart->viewport()->repaint();
        const double c = threadCpuMs();
        totals << c - a;
        moves << b - a;
        paints << c - b;
    }
    return {median(totals), median(moves), median(paints), chart->trackLayer()->rebuilds() - rebuilds};
}

// Every track drawn anew, in as many paints as the layer takes for it.
void drawAnew(Karte *chart)
{
    chart->trackLayer()->invalidate();
    chart->viewport()->repaint();
    while (!chart->trackLayer()->complete())
        chart->viewport()->repaint();
}

// The raw limit of drawing every track: each boat's drawn polyline once, into an image of
// the chart's size, clipped to it (Qt draws one-pixel lines four times faster so).
double polylinesMs(Viewer &viewer)
{
    Karte *chart = viewer.window->chart();
    QList<QPolygonF> lines;
    for (const Ship *ship : viewer.regatta->ships())
        lines << ship->trackLine();
    QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
    return medianCpuMs(5, [&] {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setClipRect(image.rect());
        QPen pen(Qt::red);
        pen.setCosmetic(true);
        painter.setPen(pen);
        for (const QPolygonF &line : std::as_const(lines))
            painter.drawPolyline(line);
    });
}

// The raw limit of a tick with the tracks already drawn: the layer blitted over the chart's
// background and a sprite per boat.
double blitMs(Viewer &viewer)
{
    Karte *chart = viewer.window->chart();
    QImage target(chart->size(), QImage::Format_RGB32);
    QImage layer(chart->size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QImage sprite(32, 32, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::blue);
    QList<QPoint> places;
    for (const Ship *ship : viewer.regatta->ships())
        places << ship->pixelPos();
    return medianCpuMs(20, [&] {
        QPainter painter(&target);
        painter.drawImage(0, 0, layer);
        for (const QPoint &p : std::as_const(places))
            painter.drawImage(p - QPoint(16, 16), sprite);
    });
}

void report(const QString &what, double value, double limit)
{
    out() << what << ": " << ms(value) << "   raw limit " << ms(limit) << "   ratio "
          << QString::number(limit > 0 ? value / limit : 0, 'f', 2) << Qt::endl;
}

void report(const QString &what, const Tick &tick, double limit)
{
    report(what, tick.total, limit);
    out() << "  (moving the boats " << ms(tick.move) << ", painting " << ms(tick.paint) << "; tracks drawn anew "
          << tick.rebuilds << " times)" << Qt::endl;
}

double tickFor(int boats, int positions, int ticks)
{
    Database db;
    fillFleet(boats, positions);
    Viewer viewer;
    viewer.regatta->loadRace(viewer.race());
    showWholeFleet(viewer, middle(positions));
    return tickMs(viewer, positions, ticks, true).total;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    const int ticks = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 25;
    out() << "replay of " << boats << " boats x " << positions << " positions (one a minute), chart 1920 x 1080, "
          << "median CPU time of the GUI thread over " << ticks << " ticks" << Qt::endl;
    {
        Database db;
        fillFleet(boats, positions);
        Viewer viewer;
        viewer.regatta->loadRace(viewer.race());
        showWholeFleet(viewer, middle(positions));
        out() << "zoom " << viewer.window->chart()->zoom() << Qt::endl;
        const Tick complete = tickMs(viewer, positions, ticks, true);
        const double lines = polylinesMs(viewer);
        const double blit = blitMs(viewer);
        report(QStringLiteral("tick, complete tracks (setUhrzeit + repaint)"), complete, blit);
        out() << "  (drawing every polyline once: " << ms(lines) << ")" << Qt::endl;
        Karte *chart = viewer.window->chart();
        chart->trackLayer()->resetLongestSlice();
        const double redraw = medianCpuMs(5, [&] { drawAnew(chart); });
        report(QStringLiteral("tracks drawn anew (after a zoom or pan)"), redraw, lines);
        out() << "  (in paints of at most " << ms(double(chart->trackLayer()->longestSliceNs()) / 1e6)
              << " of track drawing each)" << Qt::endl;
        // A real zoom also projects every shown position at the new zoom.
        const int zoom = chart->zoom();
        int zooms = 0;
        const double zoomed = medianCpuMs(4, [&] {
            chart->setZoom(++zooms % 2 ? zoom - 1 : zoom);
            chart->viewport()->repaint();
            while (!chart->trackLayer()->complete())
                chart->viewport()->repaint();
        });
        chart->setZoom(zoom);
        drawAnew(chart);
        report(QStringLiteral("zoom in or out, tracks projected and drawn anew"), zoomed, lines);
        const Tick tails = tickMs(viewer, positions, ticks, false);
        const double tailLines = polylinesMs(viewer);
        report(QStringLiteral("tick, three-hour tails"), tails, tailLines + blit);

        // Speed colours as the option sets them, without storing the choice.
        QList<const Track *> tracks;
        for (const Ship *ship : viewer.regatta->ships())
            tracks << &ship->shownTrack();
        SpeedScale scale;
        const double range = medianCpuMs(5, [&] { scale = SpeedScale::ofTracks(tracks); });
        out() << "speed range of all tracks: " << ms(range) << Qt::endl;
        chart->setSpeedScale(scale);
        const Tick colouredTails = tickMs(viewer, positions, ticks, false);
        report(QStringLiteral("tick, three-hour tails, coloured by speed"), colouredTails, tails.total);
        const Tick coloured = tickMs(viewer, positions, ticks, true);
        report(QStringLiteral("tick, complete tracks, coloured by speed"), coloured, complete.total);
        const double colouredRedraw = medianCpuMs(5, [&] { drawAnew(chart); });
        report(QStringLiteral("coloured tracks drawn anew (after a zoom or pan)"), colouredRedraw, redraw);
        chart->setSpeedScale(std::nullopt);

        // The ranking tab: the analysis fed once on first view, then a ranking per tick.
        RaceRanking *ranking = viewer.window->raceRanking();
        RankingTable *table = viewer.window->rankingTable();
        const int t = middle(positions);
        const double a = threadCpuMs();
        ranking->shownRankingAt(t);
        out() << "ranking tab, feeding the race analysis on first view: " << ms(threadCpuMs() - a) << Qt::endl;
        int step = 0;
        const double tick = medianCpuMs(ticks, [&] { table->showRanking(ranking->shownRankingAt(t + 10 * ++step), 0); });
        out() << "ranking tab, ranking and table per tick: " << ms(tick) << Qt::endl;
    }
    out() << "growth (complete tracks, " << positions / 5 << " positions per boat):" << Qt::endl;
    double first = 0;
    for (const int n : {boats / 4, boats / 2, boats, boats * 2}) {
        const double t = tickFor(std::max(1, n), positions / 5, std::max(5, ticks / 2));
        if (first == 0)
            first = t / std::max(1, n);
        out() << "  " << n << " boats: " << ms(t) << "  (" << QString::number(t / std::max(1, n) * 1000, 'f', 1)
              << " us per boat)" << Qt::endl;
    }
    return 0;
}
