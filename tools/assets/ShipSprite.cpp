#include "tools/assets/ShipSprite.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QPainterPath hull(double inset)
{
    // Bow at the top, widest a little behind the middle, a narrow flat transom.
    QPainterPath path;
    path.moveTo(16.0, 1.5 + inset * 1.8);
    path.cubicTo(20.5 - inset, 7.0, 22.8 - inset, 15.0, 21.6 - inset, 29.5 - inset);
    path.lineTo(10.4 + inset, 29.5 - inset);
    path.cubicTo(9.2 + inset, 15.0, 11.5 + inset, 7.0, 16.0, 1.5 + inset * 1.8);
    path.closeSubpath();
    return path;
}
} // namespace

QImage ShipSprite::draw(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 32.0, side / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(hull(0.0));

    // A lighter deck inside a solid rim, and the boom from the mast aft, cut out of the
    // alpha so that they show in every boat colour.
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawPath(hull(1.7));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16.0, 11.0), QPointF(18.2, 26.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawEllipse(QPointF(16.0, 11.0), 1.6, 1.6);
    return image;
}

QImage ShipSprite::strip(const QImage &sprite)
{
    QImage strip(32 * 360, 32, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int k = 0; k < 360; ++k) {
        painter.save();
        painter.translate(32 * k + 16, 16);
        painter.rotate(k);
        painter.translate(-16, -16);
        painter.drawImage(0, 0, sprite);
        painter.restore();
    }
    return strip;
}
