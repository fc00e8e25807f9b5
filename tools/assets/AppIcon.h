#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>

// The application icon for menus and launchers: a boat under sail on blue water, its
// recorded track in orange behind it. Drawn once as shapes on a 256-unit square, from which
// both the scalable SVG and the PNG sizes are made, so they always show the same picture.
namespace AppIcon {
constexpr int units = 256;

struct Shape
{
    QPainterPath path;
    QColor fill;          // invalid: not filled
    QColor stroke;        // invalid: not stroked
    double strokeWidth = 0.0;
};

QList<Shape> shapes();
QString svg();
QImage png(int size);

// Paths below the source root, in the hicolor layout they are installed in.
QString svgFile();
QString pngFile(int size);
QList<int> pngSizes();
}
