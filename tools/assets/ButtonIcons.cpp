#include "tools/assets/ButtonIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
const QColor ink(0x24, 0x4e, 0x73);     // the window's accent blue
const QColor busy(0xe0, 0x7a, 0x1f);    // transfers running
const QColor autoBadge(0x2e, 0x8b, 0x57); // automatic loading on

QImage canvas()
{
    QImage image(ButtonIcons::size, ButtonIcons::size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void begin(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
}

// Two arrows chasing each other round a circle: "fetch the latest positions".
void drawCycle(QPainter &p, const QColor &colour, const QPointF &centre, double radius)
{
    QPen pen(colour, 2.6, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    for (int half = 0; half < 2; ++half) {
        const double start = 20 + 180 * half;
        p.drawArc(box, int(start * 16), int(130 * 16));
        // Arrow head at the end of the arc, pointing along it.
        const double end = (start + 130) * M_PI / 180.0;
        const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
        const QPointF along(-std::sin(end), -std::cos(end));
        const QPointF across(std::cos(end), -std::sin(end));
        QPainterPath head;
        head.moveTo(tip + along * 4.2);
        head.lineTo(tip + across * 3.6 - along * 1.2);
        head.lineTo(tip - across * 3.6 - along * 1.2);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(head);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    }
}

// A small clock in the corner: the positions are fetched by a timer.
void drawAutoBadge(QPainter &p)
{
    const QPointF c(21.0, 21.0);
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(autoBadge);
    p.drawEllipse(c, 6.2, 6.2);
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -3.6));
    p.drawLine(c, c + QPointF(2.8, 0));
}
} // namespace

QImage ButtonIcons::play()
{
    QImage image = canvas();
    QPainter p(&image);
    begin(p);
    p.setBrush(ink);
    QPainterPath triangle;
    triangle.moveTo(8.5, 5.5);
    triangle.lineTo(22.5, 14.0);
    triangle.lineTo(8.5, 22.5);
    triangle.closeSubpath();
    p.drawPath(triangle);
    return image;
}

QImage ButtonIcons::pause()
{
    QImage image = canvas();
    QPainter p(&image);
    begin(p);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(7.5, 6.0, 4.8, 16.0), 1.2, 1.2);
    p.drawRoundedRect(QRectF(15.7, 6.0, 4.8, 16.0), 1.2, 1.2);
    return image;
}

QImage ButtonIcons::fetch(bool loading, bool automatic)
{
    QImage image = canvas();
    QPainter p(&image);
    begin(p);
    const QPointF centre = automatic ? QPointF(12.5, 12.5) : QPointF(14.0, 14.0);
    drawCycle(p, loading ? busy : ink, centre, automatic ? 7.8 : 8.8);
    if (loading) {
        p.setPen(Qt::NoPen);
        p.setBrush(busy);
        p.drawEllipse(centre, 2.2, 2.2);
    }
    if (automatic)
        drawAutoBadge(p);
    return image;
}

QList<ButtonIcons::Named> ButtonIcons::all()
{
    return {
        {QStringLiteral("img/playbutton.png"), play()},
        {QStringLiteral("img/pausebutton.png"), pause()},
        {QStringLiteral("img/idleicon.png"), fetch(false, false)},
        {QStringLiteral("img/loadicon.png"), fetch(true, false)},
        {QStringLiteral("img/idleicon_auto.png"), fetch(false, true)},
        {QStringLiteral("img/loadicon_auto.png"), fetch(true, true)},
    };
}
