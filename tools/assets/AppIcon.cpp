#include "tools/assets/AppIcon.h"

#include <QPainter>
#include <QTextStream>

namespace {
const QColor deepSea(0x1d, 0x40, 0x5f);
const QColor sea(0x24, 0x4e, 0x73); // the window's accent blue
const QColor swell(0x2f, 0x6a, 0x9a);
const QColor track(0xe0, 0x7a, 0x1f);
const QColor sail(0xf7, 0xf9, 0xfb);
const QColor hull(0xff, 0xff, 0xff);

AppIcon::Shape filled(const QPainterPath &path, const QColor &colour)
{
    return {path, colour, QColor(), 0.0};
}

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

QString colourText(const QColor &c)
{
    return c.isValid() ? c.name() : QStringLiteral("none");
}

// The path as SVG path data; every curve of a painter path is a cubic one.
QString pathData(const QPainterPath &path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::LineToElement:
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x), number(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return d;
}
} // namespace

QList<AppIcon::Shape> AppIcon::shapes()
{
    QList<Shape> list;

    QPainterPath tile;
    tile.addRoundedRect(QRectF(12, 12, 232, 232), 48, 48);
    list << filled(tile, sea);

    // Water: two swells across the lower part of the tile, clipped to its rounded corners.
    QPainterPath water;
    water.moveTo(12, 170);
    water.cubicTo(60, 150, 100, 188, 148, 172);
    water.cubicTo(190, 158, 220, 168, 244, 160);
    water.lineTo(244, 244);
    water.lineTo(12, 244);
    water.closeSubpath();
    list << filled(water.intersected(tile), swell);
    QPainterPath deep;
    deep.moveTo(12, 206);
    deep.cubicTo(70, 190, 120, 222, 170, 206);
    deep.cubicTo(204, 196, 228, 202, 244, 198);
    deep.lineTo(244, 244);
    deep.lineTo(12, 244);
    deep.closeSubpath();
    list << filled(deep.intersected(tile), deepSea);

    // The recorded track, coming in from the lower left to the boat's stern, with fixes on it.
    QPainterPath line;
    line.moveTo(40, 214);
    line.cubicTo(60, 180, 80, 206, 106, 178);
    list << Shape{line, QColor(), track, 10.0};
    for (const QPointF &fix : {QPointF(40, 214), QPointF(70, 194)}) {
        QPainterPath dot;
        dot.addEllipse(fix, 10.5, 10.5);
        list << filled(dot, track);
    }

    // Mainsail and jib either side of the mast, the hull below them.
    QPainterPath main;
    main.moveTo(160, 34);
    main.cubicTo(140, 80, 122, 126, 112, 158);
    main.lineTo(160, 158);
    main.closeSubpath();
    list << filled(main, sail);
    QPainterPath jib;
    jib.moveTo(168, 48);
    jib.cubicTo(186, 88, 200, 124, 212, 158);
    jib.lineTo(168, 158);
    jib.closeSubpath();
    list << filled(jib, sail);
    QPainterPath boat;
    boat.moveTo(98, 168);
    boat.lineTo(226, 168);
    boat.cubicTo(218, 182, 208, 190, 192, 192);
    boat.lineTo(124, 192);
    boat.cubicTo(112, 190, 104, 182, 98, 168);
    boat.closeSubpath();
    list << filled(boat, hull);
    return list;
}

QString AppIcon::svg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << units << "\" height=\"" << units
        << "\" viewBox=\"0 0 " << units << ' ' << units << "\">\n";
    for (const Shape &s : shapes()) {
        out << " <path d=\"" << pathData(s.path) << "\" fill=\"" << colourText(s.fill) << '"';
        if (s.stroke.isValid()) {
            out << " stroke=\"" << colourText(s.stroke) << "\" stroke-width=\"" << number(s.strokeWidth)
                << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        }
        out << "/>\n";
    }
    out << "</svg>\n";
    return text;
}

QImage AppIcon::png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / units, double(size) / units);
    for (const Shape &s : shapes()) {
        p.setBrush(s.fill.isValid() ? QBrush(s.fill) : QBrush(Qt::NoBrush));
        p.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                    : QPen(Qt::NoPen));
        p.drawPath(s.path);
    }
    return image;
}

QString AppIcon::svgFile()
{
    return QStringLiteral("desktop/icons/hicolor/scalable/apps/brisavela.svg");
}

QString AppIcon::pngFile(int size)
{
    return QStringLiteral("desktop/icons/hicolor/%1x%1/apps/brisavela.png").arg(size);
}

QList<int> AppIcon::pngSizes()
{
    return {48, 128, 256};
}
