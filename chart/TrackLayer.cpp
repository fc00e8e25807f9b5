#include "chart/TrackLayer.h"

#include "chart/ColouredLegs.h"
#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/TrackLine.h"

#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace {
qint32 clampedTime(qint64 t)
{
    return qint32(std::clamp<qint64>(t, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

QPen trackPen(const QColor &colour)
{
    QPen pen(colour);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}
} // namespace

TrackLayer::TrackLayer(const Karte &chart)
    : m_chart(chart)
{
}

QRectF TrackLayer::boundingRect() const
{
    return QRectF(QPointF(0, 0), QSizeF(m_chart.size()));
}

QList<Ship *> TrackLayer::ships() const
{
    QList<Ship *> result;
    if (!scene())
        return result;
    for (QGraphicsItem *item : scene()->items(Qt::AscendingOrder)) {
        if (auto *ship = dynamic_cast<Ship *>(item))
            result << ship;
    }
    return result;
}

bool TrackLayer::drawsInLayer(const Ship *ship)
{
    return ship->show() && ship->ready() && ship->showTrack() && !ship->follow() && ship->pointCount() > 0
           && ship->hasCurrentPoint() && ship->lineTop() >= ship->lineBottom();
}

qint64 TrackLayer::checkpointAt(qint64 time)
{
    // Rounded down, also before 1970.
    return time >= 0 ? time / pieceSeconds : -((-time + pieceSeconds - 1) / pieceSeconds);
}

TrackLayer::Part TrackLayer::partOf(const Ship *ship)
{
    Part part;
    part.ship = ship;
    part.shown = drawsInLayer(ship);
    if (!part.shown)
        return part;
    const Track &track = ship->shownTrack();
    part.revision = track.revision();
    part.colour = track.colour().rgba();
    part.complete = ship->showCompleteTrack();
    part.checkpoint = checkpointAt(ship->currentTime());
    const qint64 since = part.checkpoint * pieceSeconds;
    // Up to the last point before the checkpoint, never beyond what the boat's line shows.
    const int lastBefore = track.firstAtOrAfter(clampedTime(since)) - 1;
    part.top = std::min(lastBefore, ship->lineTop());
    part.canonical = part.top == lastBefore;
    // With tails, down to where the window's end will be at the next checkpoint: what
    // leaves the window before then is drawn by the boat.
    part.bottom = ship->lineBottom();
    if (!part.complete) {
        const qint64 windowEnd = since + pieceSeconds - (Ship::trackWindowSeconds - 1);
        part.bottom = std::max(part.bottom, track.firstAtOrAfter(clampedTime(windowEnd)) - 1);
    }
    return part;
}

void TrackLayer::appendPieces(std::vector<Piece> &pieces, int order, const Track &track, int top, int bottom)
{
    // A leg belongs to the checkpoint interval of its later point; legs of one interval
    // make a piece.
    int j = bottom + 1;
    while (j <= top) {
        const qint64 k = checkpointAt(track.time(j));
        const int end = std::min(top, track.firstAtOrAfter(clampedTime((k + 1) * pieceSeconds)) - 1);
        pieces.push_back({k, order, end, j - 1});
        j = std::max(end, j) + 1;
    }
}

TrackLayer::Change TrackLayer::changeNeeded(const std::vector<Part> &parts) const
{
    const TileGrid &grid = m_chart.grid();
    if (!m_valid || grid.zoom() != m_zoom || grid.tileRange() != m_range || grid.tileOffset() != m_offset
        || m_chart.size() != m_size || parts.size() != m_parts.size())
        return Change::Redraw;
    const SpeedScale *scale = m_chart.speedScale();
    if (scale ? !m_scale || *m_scale != *scale : m_scale.has_value())
        return Change::Redraw;
    if (gatesNow() != m_gates)
        return Change::Redraw;
    Change change = Change::None;
    for (size_t k = 0; k < parts.size(); ++k) {
        const Part &was = m_parts[k];
        const Part &now = parts[k];
        if (was.ship != now.ship || was.shown != now.shown)
            return Change::Redraw;
        if (!now.shown)
            continue;
        if (was.revision != now.revision || was.colour != now.colour || was.complete != now.complete
            || was.bottom != now.bottom || now.checkpoint < was.checkpoint)
            return Change::Redraw;
        if (now.checkpoint == was.checkpoint && now.top == was.top)
            continue;
        // Later pieces may be laid over the picture only where nothing leaves it.
        if (!now.complete || !was.canonical || now.top < was.top)
            return Change::Redraw;
        change = Change::Extend;
    }
    return change;
}

void TrackLayer::queuePieces(std::vector<Piece> pieces)
{
    // Piece after piece, each over all boats, so that adding the next checkpoint's pieces
    // later draws what drawing everything now would.
    std::sort(pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) {
        return a.checkpoint != b.checkpoint ? a.checkpoint < b.checkpoint : a.order < b.order;
    });
    if (complete()) {
        m_pending = std::move(pieces);
        m_next = 0;
    } else {
        m_pending.insert(m_pending.end(), pieces.begin(), pieces.end());
    }
}

std::vector<TrackLayer::GateLook> TrackLayer::gatesNow() const
{
    std::vector<GateLook> looks;
    for (const GateItem *gate : m_chart.gates()) {
        if (gate->inChartPicture() && gate->isVisible() && gate->scene() == scene())
            looks.push_back({gate, gate->pixelEnd1(), gate->pixelEnd2(), gate->lineColour()});
    }
    return looks;
}

bool TrackLayer::drawQueued(const QList<Ship *> &ships)
{
    if (complete())
        return false;
    qint64 legs = 0;
    for (size_t k = m_next; k < m_pending.size(); ++k)
        legs += m_pending[k].top - m_pending[k].bottom;
    const bool sliced = legs > m_sliceLegs;
    QElapsedTimer clock;
    clock.start();
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // With a clip rectangle set, Qt draws one-pixel lines without testing every pixel
    // against the device's clip: about four times faster, and the same pixels.
    painter.setClipRect(QRect(QPoint(0, 0), m_size));
    // A slice ends after a whole checkpoint interval when colours are drawn interval by
    // interval, else after any piece; at least one is drawn, so every paint gets on.
    auto sliceOver = [&] { return sliced && clock.elapsed() >= m_sliceMs; };
    if (m_scale) {
        painter.setPen(trackPen(Qt::black));
        ColouredLegs legsByColour(*m_scale, TrackLine::viewArea(painter, m_chart));
        while (m_next < m_pending.size()) {
            const Piece &piece = m_pending[m_next++];
            legsByColour.add(m_chart, ships[piece.order]->shownTrack(), std::nullopt, piece.top, piece.bottom);
            if (m_next == m_pending.size() || m_pending[m_next].checkpoint != piece.checkpoint) {
                legsByColour.draw(painter);
                if (sliceOver())
                    break;
            }
        }
    } else {
        int penOf = -1;
        while (m_next < m_pending.size()) {
            const Piece &piece = m_pending[m_next++];
            const Ship *ship = ships[piece.order];
            if (piece.order != penOf) {
                painter.setPen(trackPen(ship->shownTrack().colour()));
                penOf = piece.order;
            }
            TrackLine::draw(painter, m_chart, ship->shownTrack(), std::nullopt, piece.top, piece.bottom);
            if (sliceOver())
                break;
        }
    }
    painter.end();
    m_longestSliceNs = std::max(m_longestSliceNs, clock.nsecsElapsed());
    if (complete()) {
        m_pending.clear();
        m_next = 0;
    } else {
        // The rest at the next paint, which comes as soon as the window is idle again.
        QMetaObject::invokeMethod(
            m_chart.viewport(), [viewport = QPointer<QWidget>(m_chart.viewport())] {
                if (viewport)
                    viewport->update();
            },
            Qt::QueuedConnection);
    }
    return true;
}

void TrackLayer::rebuild(const QList<Ship *> &ships, std::vector<Part> parts)
{
    const TileGrid &grid = m_chart.grid();
    m_zoom = grid.zoom();
    m_range = grid.tileRange();
    m_offset = grid.tileOffset();
    m_size = m_chart.size();
    const qreal dpr = m_chart.devicePixelRatioF();
    const QSize pixels = (QSizeF(m_size) * dpr).toSize();
    if (m_image.size() != pixels)
        m_image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(dpr);
    m_image.fill(Qt::transparent);
    m_painted.reset(m_image);
    // The gates first, under every track, as the view painter would draw them.
    m_gates = gatesNow();
    {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const GateLook &look : m_gates) {
            painter.save();
            look.gate->draw(painter);
            painter.restore();
        }
    }
    const SpeedScale *scale = m_chart.speedScale();
    m_scale = scale ? std::optional<SpeedScale>(*scale) : std::nullopt;
    std::vector<Piece> pieces;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].shown)
            appendPieces(pieces, int(k), ships[int(k)]->shownTrack(), parts[k].top, parts[k].bottom);
    }
    // What was still to draw belongs to the picture just thrown away.
    m_pending.clear();
    m_next = 0;
    queuePieces(std::move(pieces));
    m_parts = std::move(parts);
    m_valid = true;
    ++m_rebuilds;
}

void TrackLayer::extend(const QList<Ship *> &ships, std::vector<Part> parts)
{
    std::vector<Piece> pieces;
    for (size_t k = 0; k < parts.size(); ++k) {
        const Part &was = m_parts[k];
        if (parts[k].shown && parts[k].top > was.top)
            appendPieces(pieces, int(k), ships[int(k)]->shownTrack(), parts[k].top, std::max(was.top, was.bottom));
    }
    queuePieces(std::move(pieces));
    m_parts = std::move(parts);
    ++m_extensions;
}

bool TrackLayer::prepare()
{
    const QList<Ship *> shown = ships();
    std::vector<Part> parts;
    parts.reserve(size_t(shown.size()));
    for (const Ship *ship : shown)
        parts.push_back(partOf(ship));
    bool changed = false;
    switch (changeNeeded(parts)) {
    case Change::Redraw:
        rebuild(shown, std::move(parts));
        changed = true;
        break;
    case Change::Extend:
        extend(shown, std::move(parts));
        break;
    case Change::None:
        break;
    }
    m_shown = shown;
    m_prepared = true;
    changed = drawQueued(shown) || changed;
    // One look for what was drawn, gates and pieces alike.
    if (changed)
        m_painted.scan(m_image);
    return changed;
}

void TrackLayer::drawPicture(QPainter &painter) const
{
    if (m_valid)
        m_painted.drawOver(painter, m_image);
}

void TrackLayer::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // The chart prepares the picture before each paint; anything else that paints the
    // scene gets the background drawn again at the next paint.
    if (!m_prepared && prepare() && scene())
        scene()->invalidate(boundingRect(), QGraphicsScene::BackgroundLayer);
    m_prepared = false;
    painter->save();
    // The rest of each boat's line, boat after boat, over the picture and under all boats.
    painter->setRenderHint(QPainter::Antialiasing, false);
    // For speed, as when drawing the picture.
    painter->setClipRect(boundingRect(), Qt::IntersectClip);
    for (size_t k = 0; k < m_parts.size(); ++k) {
        Ship *ship = m_shown[int(k)];
        const Part &part = m_parts[k];
        if (!part.shown) {
            ship->setLayerRange(-1, -1);
            continue;
        }
        if (part.top > part.bottom)
            ship->setLayerRange(part.top, part.bottom);
        else
            ship->setLayerRange(ship->lineBottom(), ship->lineBottom());
        ship->drawLayerLegs(*painter);
    }
    painter->restore();
}
