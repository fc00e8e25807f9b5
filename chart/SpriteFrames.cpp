#include "chart/SpriteFrames.h"

#include <QPainter>

#include <cmath>
#include <map>
#include <utility>

namespace {
struct Cache
{
    bool loaded = false;
    QImage large;
    // By device pixels per side and course.
    std::map<std::pair<int, int>, QImage> frames;
};

Cache &cache()
{
    // Made from files that do not change while the program runs, on the GUI thread only.
    static Cache c;
    if (!c.loaded) {
        c.loaded = true;
        c.large = QImage(QLatin1String(SpriteFrames::largeSpritePath));
    }
    return c;
}
} // namespace

int SpriteFrames::pixelSide(qreal devicePixelRatio)
{
    return int(std::ceil(viewSide * (devicePixelRatio > 1.0 ? devicePixelRatio : 1.0) - 1e-9));
}

QImage SpriteFrames::frame(const QImage &strip, int k, qreal devicePixelRatio)
{
    const int side = pixelSide(devicePixelRatio);
    Cache &c = cache();
    QImage &made = c.frames[{side, k}];
    if (made.isNull()) {
        made = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        made.fill(Qt::transparent);
        QPainter painter(&made);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box(0, 0, side, side);
        if (c.large.isNull()) {
            painter.drawImage(box, strip, QRect(viewSide * k, 0, viewSide, viewSide));
        } else {
            // Turned about the centre, clockwise, as the strip's frames are.
            painter.translate(side / 2.0, side / 2.0);
            painter.rotate(k);
            painter.translate(-side / 2.0, -side / 2.0);
            painter.drawImage(box, c.large);
        }
    }
    QImage result = made;
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}
