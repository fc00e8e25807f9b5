#pragma once

#include <QString>

class QPainter;
class QSize;

// The chart's scale bar: a labelled box in the bottom-right corner whose width stands for
// the distance of its label at the current zoom and latitude.
class ScaleBar
{
public:
    static constexpr int levels = 20;

    static QString label(int zoom);
    static int baseWidth(int zoom);
    // truncate(base width x 1.5 x 1.15 x cos(latitude)).
    static int width(int zoom, double latitude);

    static void paint(QPainter &painter, const QSize &view, int zoom, double latitude);
};
