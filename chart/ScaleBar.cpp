#include "chart/ScaleBar.h"

#include "chart/GeoPoint.h"

#include <QPainter>
#include <QSize>

#include <cmath>

namespace {
struct Level
{
    const char *label;
    int baseWidth;
};

// "sm" are nautical miles; the decimal comma belongs to the German labels.
constexpr Level table[ScaleBar::levels] = {
    {"16000 sm", 190}, {"8000 sm", 190}, {"4000 sm", 190}, {"2000 sm", 190}, {"1000 sm", 190},
    {"500 sm", 190},   {"250 sm", 190},  {"125 sm", 190},  {"50 sm", 152},   {"25 sm", 152},
    {"10 sm", 121},    {"5 sm", 121},    {"2,5 sm", 121},  {"2 sm", 194},    {"1 sm", 194},
    {"0,5 sm", 194},   {"0,25 sm", 194}, {"0,1 sm", 160},  {"0,05 sm", 160}, {"0,025 sm", 160},
};

bool valid(int zoom)
{
    return zoom >= 0 && zoom < ScaleBar::levels;
}
} // namespace

QString ScaleBar::label(int zoom)
{
    return valid(zoom) ? QString::fromLatin1(table[zoom].label) : QString();
}

int ScaleBar::baseWidth(int zoom)
{
    return valid(zoom) ? table[zoom].baseWidth : 0;
}

int ScaleBar::width(int zoom, double latitude)
{
    return int(baseWidth(zoom) * 1.5 * 1.15 * std::cos(Geo::radians(latitude)));
}

void ScaleBar::paint(QPainter &painter, const QSize &view, int zoom, double latitude)
{
    if (!valid(zoom))
        return;
    painter.save();
    QFont font;
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black));
    const int c = width(zoom, latitude);
    // The bar covers exactly c x 20 pixels: right column w - 6, bottom row h - 6.
    const QRect bar(view.width() - 5 - c, view.height() - 25, c, 20);
    painter.fillRect(bar, QColor(240, 240, 240));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.drawText(bar, Qt::AlignHCenter | Qt::AlignVCenter, label(zoom));
    painter.restore();
}
