#include "chart/ColouredLegs.h"

#include "chart/Karte.h"
#include "chart/Track.h"

#include <QPainter>

ColouredLegs::ColouredLegs(const SpeedScale &scale, const QRect &area)
    : m_scale(scale)
    , m_area(area.adjusted(-4, -4, 4, 4))
{
}

void ColouredLegs::addLeg(const QPoint &a, const QPoint &b, int step)
{
    // A leg on one pixel adds nothing, as in a plain line.
    if (a == b)
        return;
    const QRect &r = m_area;
    if ((a.x() < r.left() && b.x() < r.left()) || (a.x() > r.right() && b.x() > r.right())
        || (a.y() < r.top() && b.y() < r.top()) || (a.y() > r.bottom() && b.y() > r.bottom()))
        return;
    m_lines[size_t(step)].append(QLine(a, b));
    ++m_count;
}

void ColouredLegs::add(const Karte &chart, const Track &track, std::optional<QPoint> start, int top, int bottom)
{
    if (top < bottom || top >= track.count())
        return;
    QPoint previous = chart.trackPixel(track, top);
    if (start && top + 1 < track.count())
        addLeg(*start, previous, m_scale.stepOfLeg(track, top));
    for (int i = top - 1; i >= bottom; --i) {
        const QPoint p = chart.trackPixel(track, i);
        if (p == previous)
            continue;
        // Leg i runs from point i to point i + 1; after a run of points on one pixel the
        // line has the colour of the leg that reached the run.
        addLeg(previous, p, m_scale.stepOfLeg(track, i));
        previous = p;
    }
}

void ColouredLegs::draw(QPainter &painter)
{
    if (m_count == 0)
        return;
    QPen pen = painter.pen();
    for (int step = 0; step < SpeedScale::steps; ++step) {
        QVector<QLine> &lines = m_lines[size_t(step)];
        if (lines.isEmpty())
            continue;
        pen.setColor(SpeedScale::colour(step));
        painter.setPen(pen);
        painter.drawLines(lines);
        lines.clear();
    }
    m_count = 0;
}
