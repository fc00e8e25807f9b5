#include "chart/TrackLine.h"

#include "chart/Karte.h"
#include "chart/Track.h"

#include <QPainter>

QPolygon TrackLine::points(const Karte &chart, const Track &track, std::optional<QPoint> start, int top, int bottom)
{
    QPolygon line;
    if (start)
        line << *start;
    line.reserve(line.size() + std::max(0, top - bottom + 1));
    for (int i = top; i >= bottom; --i) {
        const QPoint p = chart.trackPixel(track, i);
        if (line.isEmpty() || line.last() != p)
            line << p;
    }
    return line;
}

void TrackLine::draw(QPainter &painter, const Karte &chart, const Track &track, std::optional<QPoint> start, int top,
                     int bottom)
{
    const QPolygon line = points(chart, track, start, top, bottom);
    if (line.size() < 2)
        return;
    // A leg both of whose ends lie beyond the same edge of the view draws nothing; runs of
    // such legs are left out, so a long track far outside costs little.
    const QRect area = viewArea(painter, chart).adjusted(-4, -4, 4, 4);
    auto outside = [&area](const QPoint &a, const QPoint &b) {
        return (a.x() < area.left() && b.x() < area.left()) || (a.x() > area.right() && b.x() > area.right())
               || (a.y() < area.top() && b.y() < area.top()) || (a.y() > area.bottom() && b.y() > area.bottom());
    };
    int runStart = 0;
    for (int i = 1; i < line.size(); ++i) {
        if (!outside(line[i - 1], line[i]))
            continue;
        if (i - 1 > runStart)
            painter.drawPolyline(line.constData() + runStart, i - runStart);
        runStart = i;
    }
    if (line.size() - runStart > 1)
        painter.drawPolyline(line.constData() + runStart, line.size() - runStart);
}

QRect TrackLine::viewArea(const QPainter &painter, const Karte &chart)
{
    const QRect view = painter.clipBoundingRect().toAlignedRect();
    if (!view.isEmpty())
        return view;
    return painter.worldTransform().inverted().mapRect(painter.window()) | chart.rect();
}

QRect TrackLine::bounds(const Karte &chart, const Track &track, std::optional<QPoint> start, int top, int bottom)
{
    const QPolygon line = points(chart, track, start, top, bottom);
    return line.boundingRect();
}
