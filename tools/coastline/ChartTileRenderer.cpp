#include "tools/coastline/ChartTileRenderer.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.141592653589793;

const QColor seaColour(176, 204, 222);
const QColor shoalColour(160, 194, 216);
const QColor shallowColour(146, 184, 209);
const QColor landColour(234, 229, 199);
const QColor lakeColour(170, 201, 221);
const QColor shoreColour(72, 74, 66);

// Shapes within this many pixels outside a tile can still reach into it (the widest
// band along the shore is narrower than this).
constexpr double margin = 24.0;

struct Projection
{
    double worldSize;
    double originX;
    double originY;

    QPointF toTile(const QPoint &p) const
    {
        const double lng = p.x() / Coastline::unitsPerDegree;
        const double phi = p.y() / Coastline::unitsPerDegree * pi / 180.0;
        const double wx = (lng + 180.0) / 360.0 * worldSize;
        const double wy = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / pi) / 2.0 * worldSize;
        return {wx - originX, wy - originY};
    }

    double lngAt(double worldX) const { return worldX / worldSize * 360.0 - 180.0; }
    double latAt(double worldY) const
    {
        const double n = pi - 2.0 * pi * worldY / worldSize;
        return std::atan(std::sinh(n)) * 180.0 / pi;
    }
};

// One side of the clip rectangle for Sutherland-Hodgman.
template <typename Inside, typename Cut>
QList<QPointF> clipSide(const QList<QPointF> &in, Inside inside, Cut cut)
{
    QList<QPointF> out;
    if (in.isEmpty())
        return out;
    out.reserve(in.size());
    QPointF prev = in.last();
    bool prevIn = inside(prev);
    for (const QPointF &p : in) {
        const bool pIn = inside(p);
        if (pIn != prevIn)
            out.append(cut(prev, p));
        if (pIn)
            out.append(p);
        prev = p;
        prevIn = pIn;
    }
    return out;
}

// Clips a ring to the rectangle, so the painter never sees coordinates far outside the
// tile (the raster engine copes badly with those at high zoom).
QList<QPointF> clipRing(const QList<QPointF> &ring, double lo, double hi)
{
    auto atX = [](double x) {
        return [x](const QPointF &a, const QPointF &b) {
            const double t = (x - a.x()) / (b.x() - a.x());
            return QPointF(x, a.y() + t * (b.y() - a.y()));
        };
    };
    auto atY = [](double y) {
        return [y](const QPointF &a, const QPointF &b) {
            const double t = (y - a.y()) / (b.y() - a.y());
            return QPointF(a.x() + t * (b.x() - a.x()), y);
        };
    };
    QList<QPointF> r = clipSide(ring, [lo](const QPointF &p) { return p.x() >= lo; }, atX(lo));
    r = clipSide(r, [hi](const QPointF &p) { return p.x() <= hi; }, atX(hi));
    r = clipSide(r, [lo](const QPointF &p) { return p.y() >= lo; }, atY(lo));
    return clipSide(r, [hi](const QPointF &p) { return p.y() <= hi; }, atY(hi));
}

bool touches(const QPointF &a, const QPointF &b, double lo, double hi)
{
    return std::max(a.x(), b.x()) >= lo && std::min(a.x(), b.x()) <= hi && std::max(a.y(), b.y()) >= lo
           && std::min(a.y(), b.y()) <= hi;
}

double metresPerPixel(int zoom, double latDegrees)
{
    return 40075016.686 * std::cos(latDegrees * pi / 180.0) / (ChartTileRenderer::tileSize * std::pow(2.0, zoom));
}
} // namespace

ChartTileRenderer::ChartTileRenderer(const Coastline &coastline)
    : m_coastline(coastline)
{
}

bool ChartTileRenderer::isValidTile(int zoom, int x, int y)
{
    if (zoom < minZoom || zoom > maxZoom)
        return false;
    const qint64 n = qint64(1) << zoom;
    return x >= 0 && y >= 0 && x < n && y < n;
}

QImage ChartTileRenderer::render(int zoom, int x, int y) const
{
    if (!isValidTile(zoom, x, y))
        return {};
    QImage image(tileSize, tileSize, QImage::Format_RGB32);
    image.fill(seaColour);

    const Projection proj{tileSize * std::pow(2.0, zoom), double(x) * tileSize, double(y) * tileSize};
    const double lo = -margin;
    const double hi = tileSize + margin;
    // The tile and its margin in the coastline's units, to pick the polygons that matter.
    const QRect area(QPoint(int(std::floor(proj.lngAt(proj.originX + lo) * Coastline::unitsPerDegree)),
                            int(std::floor(proj.latAt(proj.originY + hi) * Coastline::unitsPerDegree))),
                     QPoint(int(std::ceil(proj.lngAt(proj.originX + hi) * Coastline::unitsPerDegree)),
                            int(std::ceil(proj.latAt(proj.originY + lo) * Coastline::unitsPerDegree))));

    QPainterPath land;
    QPainterPath lakes;
    QPainterPath shore;
    land.setFillRule(Qt::WindingFill);
    lakes.setFillRule(Qt::WindingFill);
    // Points closer than this to the one before add nothing visible.
    constexpr double minStep = 0.35;
    for (const Coastline::Polygon &polygon : m_coastline.polygons()) {
        if (!polygon.bounds.intersects(area))
            continue;
        QList<QPointF> ring;
        ring.reserve(polygon.points.size());
        bool boxEdgeSoFar = true; // all edges merged into the coming one run along the box
        QList<bool> boxEdge;      // per kept point: its edge from the point before
        boxEdge.reserve(polygon.points.size());
        for (qsizetype i = 0; i < polygon.points.size(); ++i) {
            const QPointF p = proj.toTile(polygon.points[i]);
            if (i > 0)
                boxEdgeSoFar = boxEdgeSoFar && m_coastline.isBoxEdge(polygon.points[i - 1], polygon.points[i]);
            const bool last = i == polygon.points.size() - 1;
            if (!ring.isEmpty() && !last && std::abs(p.x() - ring.last().x()) < minStep
                && std::abs(p.y() - ring.last().y()) < minStep)
                continue;
            ring.append(p);
            boxEdge.append(i > 0 && boxEdgeSoFar);
            boxEdgeSoFar = true;
        }
        if (ring.size() < 3)
            continue;
        const QList<QPointF> clipped = clipRing(ring, lo, hi);
        if (clipped.size() >= 3) {
            QPainterPath &target = polygon.level == Coastline::Level::Land ? land : lakes;
            target.addPolygon(QPolygonF(clipped));
            target.closeSubpath();
        }
        bool drawing = false;
        for (qsizetype i = 1; i < ring.size(); ++i) {
            if (boxEdge[i] || !touches(ring[i - 1], ring[i], lo, hi)) {
                drawing = false;
                continue;
            }
            if (!drawing)
                shore.moveTo(ring[i - 1]);
            shore.lineTo(ring[i]);
            drawing = true;
        }
    }
    if (land.isEmpty() && lakes.isEmpty() && shore.isEmpty())
        return image;

    const double mpp = metresPerPixel(zoom, proj.latAt(proj.originY + tileSize / 2.0));
    auto bandWidth = [mpp](double metres, double least, double most) {
        return std::clamp(2.0 * metres / mpp, least, most);
    };
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(shoalColour, bandWidth(450, 1.5, 2 * (margin - 4)), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shore);
    painter.setPen(QPen(shallowColour, bandWidth(160, 1.0, 18), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shore);
    painter.setPen(Qt::NoPen);
    painter.setBrush(landColour);
    painter.drawPath(land);
    painter.setBrush(lakeColour);
    painter.drawPath(lakes);
    painter.setBrush(Qt::NoBrush);
    const double shoreWidth = zoom >= 13 ? 1.6 : zoom >= 10 ? 1.2 : 0.9;
    painter.setPen(QPen(shoreColour, shoreWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shore);
    return image;
}
