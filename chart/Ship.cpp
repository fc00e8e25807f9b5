#include "chart/Ship.h"

#include "chart/ColouredLegs.h"
#include "chart/Karte.h"
#include "chart/SpriteFrames.h"
#include "chart/StaleTag.h"
#include "chart/TrackLine.h"
#include "chart/TrackSimplifier.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStaticText>

#include <cmath>

namespace {

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
    const Track &track = *m_shownTrack;
    const int n = track.count();
    if (n == 0)
        return std::nullopt;
    const int last = n - 1;
    if (t >= track.time(last) || m_pointCount <= 1) {
        TrackPoint r = track.point(last);
        if (last > 0)
            r.course = GeoPoint::bearing(track.position(last - 1), r.position);
        return r;
    }

    int lo = 0;
    int hi = last;
    // The leg of the last step, or the one after it, if t lies strictly inside: with times
    // ascending, that is the leg the search below would find.
    auto inside = [&](int k) { return k >= 0 && k < last && track.time(k) < t && t < track.time(k + 1); };
    if (m_leg.track == &track && inside(m_leg.lo)) {
        lo = m_leg.lo;
        hi = lo + 1;
    } else if (m_leg.track == &track && inside(m_leg.lo + 1)) {
        lo = m_leg.lo + 1;
        hi = lo + 1;
    } else {
        int mid = last / 2;
        for (;;) {
            const qint32 m = track.time(mid);
            if (t == m)
                return track.point(mid);
            if (t > m)
                lo = mid;
            else
                hi = mid;
            if (lo >= hi - 1)
                break;
            mid = (lo + hi) / 2;
        }
    }
    m_leg.track = &track;
    m_leg.lo = lo;

    const TrackPoint a = track.point(lo);
    const TrackPoint b = track.point(hi);
    // Two points sharing a time, or a bracket that collapsed onto one point, give no speed.
    if (b.time <= a.time)
        return a;
    // Speed and bearing depend on the leg's ends only; worked out again when they differ.
    if (!m_leg.known || !(m_leg.a == a.position) || !(m_leg.b == b.position) || m_leg.ta != a.time
        || m_leg.tb != b.time) {
        m_leg.a = a.position;
        m_leg.b = b.position;
        m_leg.ta = a.time;
        m_leg.tb = b.time;
        m_leg.kmPerSecond = GeoPoint::distanceKm(a.position, b.position) / double(b.time - a.time);
        m_leg.bearing = GeoPoint::bearing(a.position, b.position);
        m_leg.known = true;
    }
    const double v = m_leg.kmPerSecond;
    m_speed = v * 3600.0 / 1.852;
    const double theta = m_leg.bearing;
    const GeoPoint p = GeoPoint::destination(a.position, v * double(t - a.time), theta);
    TrackPoint r(p.lat, p.lng, t, theta, 5.0);
    r.index = hi;
    return r;
}

void Ship::updateOnChart(const Karte &chart)
{
    if (m_pointCount <= 0 || !m_ready || !m_currentPoint)
        return;
    m_chart = &chart;
    const TrackPoint &current = *m_currentPoint;
    m_pixelPos = chart.getPixelPosForCoordinates(current.position.lng, current.position.lat);
    if (m_showSprite)
        drawBoatImage(chart.devicePixelRatioF());
    if (m_showTrack)
        placeTrackLine();
    updateBounds(chart.size());
}

void Ship::placeTrackLine()
{
    // The line runs from the boat back through points index - 1 down to 1 (never 0), and
    // with the complete track off only through legs that ended less than three hours ago:
    // leg i, from point i to i + 1, ends at the time of point i + 1.
    const Track &track = *m_shownTrack;
    m_lineStart = m_pixelPos;
    m_lineTop = std::min(int(m_currentPoint->index) - 1, track.segmentCount() - 1);
    m_lineBottom = 1;
    if (!m_showCompleteTrack) {
        const int firstEnd = track.firstAtOrAfter(m_currentTime - (trackWindowSeconds - 1));
        m_lineBottom = std::max(1, firstEnd - 1);
    }
}

QPolygonF Ship::trackLine() const
{
    if (!m_chart || m_pointCount <= 0 || !m_currentPoint)
        return QPolygonF();
    QPolygonF line;
    line << QPointF(m_lineStart);
    for (int i = m_lineTop; i >= m_lineBottom; --i)
        line << QPointF(m_chart->trackPixel(*m_shownTrack, i));
    return line;
}

void Ship::setLayerRange(int top, int bottom)
{
    m_layerTop = top;
    m_layerBottom = bottom;
}

void Ship::drawBoatImage(qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    const int k = frameFor(m_currentPoint->course);
    // Drawn again only when the picture changes: a new course frame, colour or pixel ratio.
    if (k == m_imageFrame && m_farbe.rgba() == m_imageColour && !m_spriteStrip.isNull()
        && m_boatImage.devicePixelRatio() == dpr)
        return;
    m_imageFrame = k;
    m_imageColour = m_farbe.rgba();
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
    if (dpr == 1.0)
        painter.drawImage(QRect(0, 0, 32, 32), m_spriteStrip, QRect(32 * k, 0, 32, 32));
    else
        painter.drawImage(QRectF(0, 0, 32, 32), SpriteFrames::frame(m_spriteStrip, k, dpr));
}

void Ship::simplify(double tolerance)
{
    m_simplifyTolerance = tolerance;
    TrackSimplifier::simplify(m_fullTrack, tolerance, m_simplifiedTrack);
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

void Ship::updateBounds(const QSize &view)
{
    // Everything paint() may draw: around the position the sprite, the follow ring with its
    // pen and the speed label; the track line, which is seen only within the view. A partial
    // repaint (a tile that has just loaded) draws an item again only where its rectangle says.
    QRectF bounds(QPointF(-2, -2), QSizeF(view.width() + 4, view.height() + 4));
    const QPointF p(m_pixelPos);
    bounds |= QRectF(p.x() - 18, p.y() - 18, 40, 40);
    // Measuring text is dear; the label's box is measured again only when its text changes.
    const QString text = speedText();
    if (text != m_labelText || m_labelBox.isNull()) {
        const QFontMetricsF metrics(labelFont());
        m_labelText = text;
        m_labelBox = metrics.boundingRect(text)
                     | QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height());
    }
    bounds |= m_labelBox.translated(p.x() - 7, p.y() - 16).adjusted(-2, -2, 2, 2);
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
    path.addPolygon(trackLine());
    return path;
}

bool Ship::contains(const QPointF &point) const
{
    return QRectF(m_pixelPos - m_hotSpot, QSizeF(32, 32)).contains(point);
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
        // Smoothing changes only the ring: the sprite lies on whole pixels, and text has a
        // hint of its own. Switching it costs the paint engine a state change per boat.
        // A stale boat's picture and speed are faded; the ring of a followed one is not.
        const qreal opacity = painter->opacity();
        const qreal faded = isStale() ? opacity * staleOpacity : opacity;
        painter->setOpacity(faded);
        painter->drawImage(m_pixelPos - m_hotSpot, m_boatImage);
        painter->setOpacity(opacity);
        if (m_follow) {
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->setPen(solidPen(pen, 2, Qt::red));
            painter->drawEllipse(QRect(m_pixelPos.x() - 16, m_pixelPos.y() - 16, 35, 35));
            painter->setRenderHint(QPainter::Antialiasing, false);
        }
        if (m_showLabel) {
            painter->setOpacity(faded);
            painter->setPen(solidPen(pen, 2, Qt::black));
            painter->setFont(font);
            // Laid out once per text; drawn at the baseline drawText would use.
            const QString text = speedText();
            if (text != m_label.text() || m_labelAscent < 0) {
                m_label.setText(text);
                m_label.prepare(QTransform(), font);
                m_labelAscent = QFontMetricsF(font).ascent();
            }
            painter->drawStaticText(QPointF(m_pixelPos.x() - 7, m_pixelPos.y() - 16 - m_labelAscent), m_label);
            painter->setOpacity(opacity);
        }
        if (isStale())
            drawStaleLabel(painter);
        painter->setRenderHint(QPainter::Antialiasing, false);
    }
    // A boat in the chart's track layer leaves its line to the layer.
    if (m_showTrack && m_layerTop < 0 && m_chart) {
        painter->setPen(solidPen(pen, m_follow ? 2 : 1, m_shownTrack->colour()));
        if (const SpeedScale *scale = m_chart->speedScale()) {
            ColouredLegs legs(*scale, TrackLine::viewArea(*painter, *m_chart));
            legs.add(*m_chart, *m_shownTrack, m_lineStart, m_lineTop, m_lineBottom);
            legs.draw(*painter);
        } else {
            TrackLine::draw(*painter, *m_chart, *m_shownTrack, m_lineStart, m_lineTop, m_lineBottom);
        }
    }
}

void Ship::drawLayerLegs(QPainter &painter) const
{
    if (!m_chart || m_layerTop < 0)
        return;
    painter.setPen(solidPen(painter.pen(), 1, m_shownTrack->colour()));
    // The layer's picture holds the line from point layerTop down to layerBottom; here come
    // the newest legs above it and the oldest ones below it, which are about to leave the tail.
    const Track &track = *m_shownTrack;
    if (const SpeedScale *scale = m_chart->speedScale()) {
        ColouredLegs legs(*scale, TrackLine::viewArea(painter, *m_chart));
        legs.add(*m_chart, track, m_lineStart, m_lineTop, m_layerTop);
        if (m_lineBottom < m_layerBottom)
            legs.add(*m_chart, track, std::nullopt, m_layerBottom, m_lineBottom);
        legs.draw(painter);
        return;
    }
    TrackLine::draw(painter, *m_chart, track, m_lineStart, m_lineTop, m_layerTop);
    if (m_lineBottom < m_layerBottom)
        TrackLine::draw(painter, *m_chart, track, std::nullopt, m_layerBottom, m_lineBottom);
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
