#include "chart/StaleTag.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
// Baseline of the text from the boat's pixel, and the halo's width around the glyphs.
constexpr qreal dx = -16;
constexpr qreal dy = 28;
constexpr qreal halo = 2;

QFont tagFont()
{
    return QFont(QStringLiteral("Arial"), 8, QFont::Bold);
}

// The text's box relative to its baseline origin, halo included.
QRectF box(const QString &text)
{
    const QFontMetricsF metrics(tagFont());
    return metrics.boundingRect(text).adjusted(-halo - 1, -halo - 1, halo + 1, halo + 1);
}
} // namespace

QRectF StaleTag::rectAt(const QString &text, const QPointF &boatPixel)
{
    return box(text).translated(boatPixel.x() + dx, boatPixel.y() + dy);
}

QImage StaleTag::image(const QString &text, qreal devicePixelRatio)
{
    // Made from the text alone, on the GUI thread; a handful of ages in use at a time.
    static QHash<QString, QImage> made;
    const qreal dpr = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    const QString key = QStringLiteral("%1|%2").arg(dpr).arg(text);
    const auto found = made.constFind(key);
    if (found != made.constEnd())
        return *found;
    if (made.size() > 200)
        made.clear();

    const QRectF r = box(text);
    QImage tag(int(std::ceil(r.width() * dpr)), int(std::ceil(r.height() * dpr)), QImage::Format_ARGB32_Premultiplied);
    tag.setDevicePixelRatio(dpr);
    tag.fill(Qt::transparent);
    QPainter painter(&tag);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath glyphs;
    glyphs.addText(QPointF(-r.left(), -r.top()), tagFont(), text);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 2 * halo - 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(glyphs);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 60, 60));
    painter.drawPath(glyphs);
    painter.end();
    made.insert(key, tag);
    return tag;
}
