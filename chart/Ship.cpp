#include "chart/Ship.h"

#include "chart/Karte.h"
#include "chart/SpriteFrames.h"
#include "chart/StaleTag.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>
#include <utility>
#include <vector>

namespace {

struct Vec
{
    double x, y;
};

Vec minus(const GeoPoint &a, const GeoPoint &b)
{
    return {a.lat - b.lat, a.lng - b.lng};
}

double dot(const Vec &a, const Vec &b)
{
    return a.x * b.x + a.y * b.y;
}

// Squared distance of p from the segment a-b, in plain degrees of latitude and longitude.
double squaredSegmentDistance(const GeoPoint &p, const GeoPoint &a, const GeoPoint &b)
{
    const Vec ab = minus(b, a);
    const double abLength2 = dot(ab, ab);
    const Vec ap = minus(p, a);
    Vec u{0.0, 0.0};
    if (abLength2 > 0.0) {
        const double len = std::sqrt(abLength2);
        u = {ab.x / len, ab.y / len};
    }
    const double l = dot(ap, u);
    if (l <= 0.0)
        return dot(ap, ap);
    if (l * l >= abLength2) {
        const Vec bp = minus(p, b);
        return dot(bp, bp);
    }
    return dot(ap, ap) - l * l;
}

// The painter's pen, made solid and cosmetic in the given width and colour.
QPen solidPen(QPen pen, int width, const QColor &colour)
{
    pen.setWidth(width);
    pen.setStyle(Qt::SolidLine);
    pen.setColor(colour);
    pen.setCosmetic(true);
    return pen;
}

QFont labelFont()
{
    return QFont(QStringLiteral("Arial"), 10, QFont::Bold);
}

// Frame of the sprite strip for a course: whole degrees, 0 to 359.
int frameFor(double course)
{
    if (!std::isfinite(course))
        return 0;
    const int k = int(std::fmod(course, 360.0));
    return k < 0 ? k + 360 : k;
}

} // namespace

Ship::Ship(int id, const QString &name, const QString &sourceKind, const QString &source)
    : m_id(id)
    , m_name(name)
    , m_sourceKind(sourceKind)
    , m_source(source)
    , m_boatImage(32, 32, QImage::Format_ARGB32_Premultiplied)
{
    m_boatImage.fill(Qt::transparent);
    setAcceptHoverEvents(true);
    setBoundingRegionGranularity(0.5);
}

Ship::~Ship() = default;

std::optional<TrackPoint> Ship::positionAt(int t)
{
    Track &track = *m_shownTrack;
    const int n = track.count();
    if (n == 0)
        return std::nullopt;
    const int last = n - 1;
    if (t >= track.point(last).time || m_pointCount <= 1) {
        TrackPoint &r = track.point(last);
        r.index = last;
        if (last > 0)
            r.course = GeoPoint::bearing(track.point(last - 1).position, r.position);
        return r;
    }

    int lo = 0;
    int hi = last;
    int mid = last / 2;
    for (;;) {
        TrackPoint &m = track.point(mid);
        if (t == m.time) {
            m.index = mid;
            return m;
        }
        if (t > m.time)
            lo = mid;
        else
            hi = mid;
        if (lo >= hi - 1)
            break;
        mid = (lo + hi) / 2;
    }

    const TrackPoint &a = track.point(lo);
    const TrackPoint &b = track.point(hi);
    // Two points sharing a time, or a bracket that collapsed onto one point, give no speed.
    if (b.time <= a.time) {
        TrackPoint r = a;
        r.index = lo;
        return r;
    }
    const double v = GeoPoint::distanceKm(a.position, b.position) / double(b.time - a.time);
    m_speed = v * 3600.0 / 1.852;
    const double theta = GeoPoint::bearing(a.position, b.position);
    const GeoPoint p = GeoPoint::destination(a.position, v * double(t - a.time), theta);
    TrackPoint r(p.lat, p.lng, t, theta, 5.0);
    r.index = hi;
    return r;
}

void Ship::updateOnChart(const Karte &chart)
{
    if (m_pointCount <= 0 || !m_ready || !m_currentPoint)
        return;
    const TrackPoint &current = *m_currentPoint;
    m_pixelPos = chart.getPixelPosForCoordinates(current.position.lng, current.position.lat);
    if (m_showSprite)
        drawBoatImage(chart.devicePixelRatioF());
    if (m_showTrack)
        buildTrackLine(chart);
    updateBounds();
}

void Ship::buildTrackLine(const Karte &chart)
{
    const TrackPoint &current = *m_currentPoint;
    m_trackLine.clear();
    m_trackLine << QPointF(m_pixelPos);
    Track &track = *m_shownTrack;
    const int firstSegment = std::min(int(current.index) - 1, track.segmentCount() - 1);
    for (int i = firstSegment; i >= 1; --i) {
        const TrackSegment s = track.segment(i);
        if (!m_showCompleteTrack && s.time < m_currentTime - (trackWindowSeconds - 1))
            break;
        const QPoint from = chart.getPixelPosForCoordinates(s.from.lng, s.from.lat);
        track.setFromPixel(i, from);
        m_trackLine << QPointF(from);
    }
}

void Ship::drawBoatImage(qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    const int side = SpriteFrames::pixelSide(dpr);
    if (m_boatImage.width() != side || m_boatImage.devicePixelRatio() != dpr) {
        m_boatImage = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        m_boatImage.setDevicePixelRatio(dpr);
    }
    m_boatImage.fill(m_farbe);
    if (m_spriteStrip.isNull())
        return;
    QPainter painter(&m_boatImage);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    const int k = frameFor(m_currentPoint->course);
    if (dpr == 1.0)
        painter.drawImage(QRect(0, 0, 32, 32), m_spriteStrip, QRect(32 * k, 0, 32, 32));
    else
        painter.drawImage(QRectF(0, 0, 32, 32), SpriteFrames::frame(m_spriteStrip, k, dpr));
}

void Ship::simplify(double tolerance)
{
    m_simplifyTolerance = tolerance;
    const double epsilon2 = tolerance * tolerance;
    m_simplifiedTrack.clear();
    const int n = m_fullTrack.count();
    for (int i = 0; i < n; ++i)
        m_fullTrack.point(i).keep = false;
    if (n == 0)
        return;

    // Douglas-Peucker; the pending ranges are kept on a list instead of the call stack, as
    // a long zig-zag track would recurse once per point.
    std::vector<std::pair<int, int>> pending{{0, n - 1}};
    while (!pending.empty()) {
        auto [first, last] = pending.back();
        pending.pop_back();
        while (first + 1 < last) {
            const GeoPoint a = m_fullTrack.point(first).position;
            const GeoPoint b = m_fullTrack.point(last).position;
            int best = 0;
            double largest = 0.0;
            for (int i = first + 1; i < last; ++i) {
                const double d = squaredSegmentDistance(m_fullTrack.point(i).position, a, b);
                if (d > largest) {
                    largest = d;
                    best = i;
                }
            }
            if (largest <= epsilon2)
                break;
            m_fullTrack.point(best).keep = true;
            pending.push_back({first, best});
            first = best;
        }
    }
    m_fullTrack.point(0).keep = true;
    m_fullTrack.point(n - 1).keep = true;
    for (int i = 0; i < n; ++i) {
        if (m_fullTrack.point(i).keep)
            m_simplifiedTrack.append(m_fullTrack, i);
    }
}

void Ship::unfollowAll()
{
    for (Ship *ship : std::as_const(m_raceShips)) {
        ship->m_follow = false;
        ship->m_farbe = ship->m_baseFarbe;
    }
}

QString Ship::speedText() const
{
    return QString::number(m_speed, 'f', 1);
}

void Ship::updateBounds()
{
    // Everything paint() may draw, whether it is shown at the moment or not: the track with
    // its pen, and around the position the sprite, the follow ring with its pen and the
    // speed label. A partial repaint (a tile that has just loaded) draws an item again only
    // where its rectangle says it is.
    QRectF bounds = m_trackLine.boundingRect().adjusted(-2, -2, 2, 2);
    const QPointF p(m_pixelPos);
    bounds |= QRectF(p.x() - 18, p.y() - 18, 40, 40);
    const QFontMetricsF metrics(labelFont());
    const QString text = speedText();
    const QRectF label = metrics.boundingRect(text)
                         | QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height());
    bounds |= label.translated(p.x() - 7, p.y() - 16).adjusted(-2, -2, 2, 2);
    if (!m_staleLabel.isEmpty())
        bounds |= StaleTag::rectAt(m_staleLabel, p).adjusted(-1, -1, 1, 1);
    if (bounds != m_bounds) {
        prepareGeometryChange();
        m_bounds = bounds;
    }
}

QRectF Ship::boundingRect() const
{
    return m_bounds;
}

QPainterPath Ship::shape() const
{
    QPainterPath path;
    path.addPolygon(m_trackLine);
    return path;
}

void Ship::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_show || !m_ready)
        return;
    const QFont font = labelFont();
    QPen pen = painter->pen();
    // Ring and track are outlines only.
    painter->setBrush(Qt::NoBrush);
    if (m_pointCount <= 0 || !m_currentPoint)
        return;

    if (m_showSprite) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        // A stale boat's picture and speed are faded; the ring of a followed one is not.
        const qreal opacity = painter->opacity();
        const qreal faded = isStale() ? opacity * staleOpacity : opacity;
        painter->setOpacity(faded);
        painter->drawImage(m_pixelPos - m_hotSpot, m_boatImage);
        painter->setOpacity(opacity);
        if (m_follow) {
            painter->setPen(solidPen(pen, 2, Qt::red));
            painter->drawEllipse(QRect(m_pixelPos.x() - 16, m_pixelPos.y() - 16, 35, 35));
        }
        if (m_showLabel) {
            painter->setOpacity(faded);
            painter->setPen(solidPen(pen, 2, Qt::black));
            painter->setFont(font);
            painter->drawText(QPoint(m_pixelPos.x() - 7, m_pixelPos.y() - 16), speedText());
            painter->setOpacity(opacity);
        }
        if (isStale())
            drawStaleLabel(painter);
        painter->setRenderHint(QPainter::Antialiasing, false);
    }
    if (m_showTrack) {
        painter->setPen(solidPen(pen, m_follow ? 2 : 1, m_shownTrack->colour()));
        painter->drawPath(shape());
    }
}

void Ship::drawStaleLabel(QPainter *painter) const
{
    const QPaintDevice *device = painter->device();
    const qreal dpr = device ? device->devicePixelRatioF() : 1.0;
    painter->drawImage(StaleTag::rectAt(m_staleLabel, m_pixelPos).topLeft(), StaleTag::image(m_staleLabel, dpr));
}

void Ship::hoverEnterEvent(QGraphicsSceneHoverEvent *)
{
}

void Ship::hoverMoveEvent(QGraphicsSceneHoverEvent *)
{
}

void Ship::hoverLeaveEvent(QGraphicsSceneHoverEvent *)
{
}
