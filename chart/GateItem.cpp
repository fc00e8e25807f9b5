#include "chart/GateItem.h"

#include <QPainter>
#include <QPen>

GateItem::GateItem(double lat1, double lng1, double lat2, double lng2, double bearing, double length,
                   const QString &name, bool midFlag)
    : m_geoEnd1(lat1, lng1)
    , m_geoEnd2(lat2, lng2)
    , m_gateBearing(bearing)
    , m_gateLength(length)
    , m_name(name)
    , m_midFlag(midFlag)
{
    if (lat2 == 0.0 && lng2 == 0.0)
        m_geoEnd2 = GeoPoint::destination(m_geoEnd1, m_gateLength, m_gateBearing);
    m_anchor = m_midFlag ? GeoPoint::midpoint(m_geoEnd1, m_geoEnd2) : m_geoEnd1;
}

GateItem::~GateItem() = default;

QRectF GateItem::boundingRect() const
{
    // Both circles (radius 5) and the line with their pens: a partial repaint draws the
    // gate again only where this rectangle says it is, and a level line has no height.
    return QRectF(QPointF(m_pixelEnd1), QPointF(m_pixelEnd2)).normalized().adjusted(-7, -7, 7, 7);
}

void GateItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_inChartPicture)
        draw(*painter);
}

void GateItem::draw(QPainter &painter) const
{
    QPen pen = painter.pen();
    pen.setWidth(1);
    pen.setStyle(Qt::SolidLine);
    pen.setColor(QColor(255, 0, 0));
    painter.setPen(pen);
    painter.drawEllipse(QRect(m_pixelEnd1 - QPoint(5, 5), QSize(10, 10)));
    painter.drawEllipse(QRect(m_pixelEnd2 - QPoint(5, 5), QSize(10, 10)));

    pen.setWidth(2);
    pen.setColor(QColor::fromRgba(m_lineColour));
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawLine(m_pixelEnd1, m_pixelEnd2);
}

void GateItem::setPixelEnds(const QPoint &end1, const QPoint &end2)
{
    prepareGeometryChange();
    m_pixelEnd1 = end1;
    m_pixelEnd2 = end2;
}

void GateItem::setLineColour(int red, int green, int blue)
{
    m_lineColour = 0xFF000000u + quint32(red) * 65536u + quint32(green) * 256u + quint32(blue);
}
