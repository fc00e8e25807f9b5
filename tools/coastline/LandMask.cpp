#include "tools/coastline/LandMask.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

LandMask::LandMask(const Coastline &coastline, double west, double south, double east, double north,
                   double cellDegrees)
    : m_mask(int(std::ceil((east - west) / cellDegrees)), int(std::ceil((north - south) / cellDegrees)),
             QImage::Format_Grayscale8)
    , m_west(west)
    , m_north(north)
    , m_cell(cellDegrees)
{
    m_mask.fill(0);
    QPainter painter(&m_mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const double scale = 1.0 / (Coastline::unitsPerDegree * cellDegrees);
    // Equirectangular: one cell is the same number of degrees in both directions.
    painter.setTransform(QTransform(scale, 0, 0, -scale, -west / cellDegrees, north / cellDegrees));
    const QRect area(QPoint(int(west * Coastline::unitsPerDegree), int(south * Coastline::unitsPerDegree)),
                     QPoint(int(east * Coastline::unitsPerDegree), int(north * Coastline::unitsPerDegree)));
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Coastline::Polygon &polygon : coastline.polygons()) {
        if (polygon.level == Coastline::Level::Land && polygon.bounds.intersects(area))
            path.addPolygon(QPolygonF(QPolygon(polygon.points)));
    }
    painter.drawPath(path);
}

bool LandMask::isLand(double lat, double lng) const
{
    const int x = int(std::floor((lng - m_west) / m_cell));
    const int y = int(std::floor((m_north - lat) / m_cell));
    if (x < 0 || y < 0 || x >= m_mask.width() || y >= m_mask.height())
        return false;
    return m_mask.constScanLine(y)[x] >= 128;
}
