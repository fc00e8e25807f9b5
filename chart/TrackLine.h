#pragma once

#include <QPoint>
#include <QPolygon>
#include <QRect>

#include <optional>

class Karte;
class QPainter;
class Track;

// The line of a boat's track as the chart shows it: from the boat back through points top,
// top - 1, ... bottom of its track, in view pixels. A point on the same pixel as the one
// before it adds nothing to the line and is left out.
class TrackLine
{
public:
    // The line's points; start (the boat's pixel) first when given.
    static QPolygon points(const Karte &chart, const Track &track, std::optional<QPoint> start, int top,
                           int bottom);
    // Draws it with the painter's pen; whole runs that lie outside the clip are skipped.
    static void draw(QPainter &painter, const Karte &chart, const Track &track, std::optional<QPoint> start, int top,
                     int bottom);
    // The view pixels a painter draws: its clip, or without one what its device shows and
    // the chart's view.
    static QRect viewArea(const QPainter &painter, const Karte &chart);
    // The smallest rectangle holding the line's points.
    static QRect bounds(const Karte &chart, const Track &track, std::optional<QPoint> start, int top, int bottom);
};
