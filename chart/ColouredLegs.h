#pragma once

#include "chart/SpeedScale.h"

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <array>
#include <optional>

class Karte;
class QPainter;
class Track;

// Legs of track lines sorted by the colour of their speed, so that many lines are drawn
// with one pen per colour instead of one per leg. Legs are drawn slowest colour first.
class ColouredLegs
{
public:
    // area: the view pixels that are drawn; legs wholly beyond one of its edges are left out.
    ColouredLegs(const SpeedScale &scale, const QRect &area);

    // The line from the boat (start, when given) back through points top down to bottom, as
    // TrackLine draws it; the leg from the boat has the colour of the leg it lies on.
    void add(const Karte &chart, const Track &track, std::optional<QPoint> start, int top, int bottom);
    // Draws what was added with the painter's pen in each colour, and forgets it.
    void draw(QPainter &painter);
    bool isEmpty() const { return m_count == 0; }

private:
    void addLeg(const QPoint &a, const QPoint &b, int step);

    SpeedScale m_scale;
    QRect m_area;
    std::array<QVector<QLine>, SpeedScale::steps> m_lines;
    int m_count = 0;
};
