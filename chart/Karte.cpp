#include "chart/Karte.h"

#include "chart/ChartOwner.h"
#include "chart/GateItem.h"
#include "chart/ScaleBar.h"
#include "chart/SpeedLegend.h"
#include "chart/Scheme.h"
#include "chart/TileSource.h"
#include "chart/Track.h"
#include "chart/TrackLayer.h"

#include <QDebug>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

Karte::Karte(Scheme *scene, ChartOwner *owner, TileSource *tiles)
    : QGraphicsView(scene)
    , m_owner(owner)
    , m_scene(scene)
    , m_tiles(tiles)
{
    Q_ASSERT(owner);
    Q_ASSERT(tiles);
    setRenderHint(QPainter::Antialiasing, false);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without a frame the viewport is the whole widget, so scene coordinates stay view pixels.
    setFrameShape(QFrame::NoFrame);
    // The tiles and the scale bar are drawn into a picture kept until they change; a replay
    // step copies it instead of drawing every tile again.
    setCacheMode(QGraphicsView::CacheBackground);
    // That picture covers the whole view, so the viewport need not be cleared first: a
    // full-view fill on every replay step for nothing.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The scene owns the layer, as every item in it.
    m_layer = new TrackLayer(*this);
    m_layer->setZValue(trackLevel);
    m_scene->addItem(m_layer);
    m_speedLegend = new SpeedLegend(this);
    m_speedLegend->hide();
    connect(m_tiles, &TileSource::tileReplied, this, &Karte::tileReplied);
    connect(this, &Karte::updated, this, &Karte::updateMap);
    m_dragged = false;
    refresh();
}

Karte::~Karte()
{
    // The layer draws from this view, so it must not outlive it.
    if (m_scene) {
        m_scene->removeItem(m_layer);
        delete m_layer;
    }
}

void Karte::setZoom(int zoom)
{
    // The store holds tiles of one zoom level; indexes of another level mean other places.
    if (zoom != m_grid.zoom())
        m_memory.clear();
    m_grid.setZoom(zoom);
}

void Karte::zoomBy(int step)
{
    const int z = m_grid.zoom() + step;
    if (z < minZoom || z > maxZoom)
        return;
    setZoom(z);
    refresh();
}

void Karte::panBy(const QPoint &delta)
{
    const QPointF c = m_grid.tileCoordinates(m_grid.centreLat(), m_grid.centreLng());
    if (m_owner->animating())
        m_owner->clearFollow();
    const double lat = m_grid.tileYToLatitude(c.y() - delta.y() / double(TileGrid::tileSize));
    const double lng = m_grid.tileXToLongitude(c.x() - delta.x() / double(TileGrid::tileSize));
    m_grid.setCentre(lat, lng);
    refresh();
}

void Karte::refresh()
{
    const int w = width();
    const int h = height();
    m_scene->setSceneRect(0, 0, w, h);
    if (w <= 0 || h <= 0)
        return;
    m_grid.layout(QSize(w, h));
    // The kept background holds the tiles of one layout and the scale bar of one centre.
    const BackgroundKey key{m_grid.zoom(), m_grid.tileRange(), m_grid.tileOffset(), QSize(w, h), m_grid.centreLat()};
    if (!(key == m_backgroundKey)) {
        m_backgroundKey = key;
        resetCachedContent();
    }
    m_memory.keepOnly(m_grid);
    if (m_pendingUrl.isEmpty())
        scheduleStep();
    projectGates();
    m_owner->refreshShipTracks();
    emit updated(QRect(0, 0, w, h));
}

void Karte::placeGates(const QList<GateItem *> &gates)
{
    for (GateItem *gate : std::as_const(m_gates)) {
        if (!gates.contains(gate))
            gate->setInChartPicture(false);
    }
    m_gates = gates;
    projectGates();
    for (GateItem *gate : gates) {
        // Under the tracks, which lie under the boats: drawn with them into the track
        // layer's picture.
        gate->setZValue(gateLevel);
        gate->setInChartPicture(true);
        if (gate->scene() != m_scene)
            m_scene->addItem(gate);
    }
}

void Karte::setSpeedScale(const std::optional<SpeedScale> &scale)
{
    if (scale == m_speedScale)
        return;
    m_speedScale = scale;
    if (scale)
        m_speedLegend->setScale(*scale);
    m_speedLegend->setVisible(scale.has_value());
    // Every leg changes colour: the layer's picture too.
    m_layer->invalidate();
    if (m_scene)
        m_scene->update();
}

QPoint Karte::trackPixel(const Track &track, int i) const
{
    const GeoPoint p = track.position(i);
    if (const std::optional<QPoint> pixel = m_grid.viewPixel(track.worldPixel(i, m_grid), p.lng, p.lat))
        return *pixel;
    qDebug() << "Exception in Karte::getPixelPosForCoordinates";
    return {0, 0};
}

void Karte::projectGates()
{
    for (GateItem *gate : std::as_const(m_gates)) {
        const GeoPoint a = gate->geoEnd1();
        const GeoPoint b = gate->geoEnd2();
        gate->setPixelEnds(getPixelPosForCoordinates(a.lng, a.lat), getPixelPosForCoordinates(b.lng, b.lat));
    }
}

void Karte::reportPointer(int px, int py)
{
    const GeoPoint p = coordinatesAtPixel(px, py);
    m_owner->setXYStatus(px, py, p.lat, p.lng, m_grid.zoom());
}

QPoint Karte::getPixelPosForCoordinates(double lng, double lat) const
{
    if (const std::optional<QPoint> p = m_grid.pixelFor(lng, lat))
        return *p;
    qDebug() << "Exception in Karte::getPixelPosForCoordinates";
    return {0, 0};
}

GeoPoint Karte::coordinatesAtPixel(int px, int py) const
{
    return m_grid.coordinatesAtPixel(px, py, QSize(width(), height()));
}

void Karte::scheduleStep()
{
    // One tile per step, each step its own event, so painting and input go on in between.
    if (m_stepQueued)
        return;
    m_stepQueued = true;
    QMetaObject::invokeMethod(this, &Karte::download, Qt::QueuedConnection);
}

void Karte::download()
{
    m_stepQueued = false;
    try {
        if (fetchStep())
            scheduleStep();
    } catch (...) {
        qDebug() << "Exception in Karte::download";
    }
}

bool Karte::fetchStep()
{
    const QPoint tile = m_grid.nextMissing([this](const QPoint &p) { return !m_memory.has(p); });
    // The search order decides near the edges of the world: once it arrives at a tile
    // outside, the pass ends. Nothing is outstanding for it, so no pass is left open.
    if (tile == QPoint(0, 0) || !m_grid.inWorld(tile)) {
        m_pendingUrl.clear();
        return false;
    }
    const int z = m_grid.zoom();
    const QString path = m_tiles->tilePath(z, tile.x(), tile.y());
    const QImage image = m_tiles->cached(z, tile);
    if (!image.isNull()) {
        storeTile(tile, image);
        m_memory.keepOnly(m_grid);
        emit updated(m_grid.tileScreenRect(tile));
        qDebug() << "Karte::download(), gefunden, " << path;
        return true;
    }
    if (!m_owner->loadMaps()) {
        storeTile(tile, m_memory.placeholder());
        m_memory.keepOnly(m_grid);
        emit updated(m_grid.tileScreenRect(tile));
        return true;
    }
    qDebug() << "Karte::download(), nicht gefunden, " << path;
    requestTile(tile);
    return true;
}

void Karte::requestTile(const QPoint &tile)
{
    const int z = m_grid.zoom();
    m_pendingUrl = m_tiles->tileUrl(z, tile.x(), tile.y());
    qDebug() << "Karte::download(), nicht gefunden, downloading " << m_pendingUrl.toString();
    m_owner->setNetLedOn();
    m_tiles->request(z, tile);
    // Counts as present while the reply is outstanding, so it is not asked for twice.
    storeTile(tile, m_memory.placeholder());
}

void Karte::tileReplied(int zoom, const QPoint &tile, const QImage &image)
{
    // A reply for another zoom level has filled the disk cache but must not be drawn.
    const bool currentZoom = zoom == m_grid.zoom();
    if (currentZoom) {
        storeTile(tile, image.isNull() ? m_memory.placeholder() : image);
        emit updated(m_grid.tileScreenRect(tile));
    }
    m_memory.keepOnly(m_grid);
    m_owner->setNetLedOff();
    scheduleStep();
}

void Karte::updateMap(const QRect &r)
{
    // The items' rectangles cover all they paint, so the rectangle itself is enough.
    viewport()->update(r);
}

void Karte::storeTile(const QPoint &tile, const QImage &image)
{
    m_memory.store(tile, image);
    // Only the tile's square of the kept background is drawn anew; the view's pixels are
    // scene coordinates.
    invalidateScene(QRectF(m_grid.tileScreenRect(tile)), QGraphicsScene::BackgroundLayer);
}

void Karte::drawBackground(QPainter *painter, const QRectF &rect)
{
    const QRect range = m_grid.tileRange();
    const QPoint offset = m_grid.tileOffset();
    for (int i = 0; i <= range.right() - range.left() + 1; ++i) {
        for (int j = 0; j <= range.bottom() - range.top() + 1; ++j) {
            const QPoint tile(range.left() + i, range.top() + j);
            const QRectF box(offset.x() + TileGrid::tileSize * i, offset.y() + TileGrid::tileSize * j,
                             TileGrid::tileSize, TileGrid::tileSize);
            if (!box.intersects(rect))
                continue;
            painter->drawImage(box, m_memory.shown(tile));
        }
    }
    drawScale(painter, m_grid.zoom());
    m_layer->drawPicture(*painter);
}

void Karte::prepareTrackPicture()
{
    if (m_layer->prepare())
        invalidateScene(sceneRect(), QGraphicsScene::BackgroundLayer);
}

void Karte::paintEvent(QPaintEvent *event)
{
    // The gates and tracks lie in the kept background: brought up to date first, so that
    // this paint already shows them as they are.
    prepareTrackPicture();
    QGraphicsView::paintEvent(event);
}

void Karte::drawScale(QPainter *painter, int zoom)
{
    ScaleBar::paint(*painter, QSize(width(), height()), zoom, m_grid.centreLat());
}

void Karte::keyPressEvent(QKeyEvent *event)
{
    // The arrow keys move the chart a tile the other way, as dragging it would.
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
        panBy(QPoint(key == Qt::Key_Left ? 256 : key == Qt::Key_Right ? -256 : 0,
                     key == Qt::Key_Up ? 256 : key == Qt::Key_Down ? -256 : 0));
    }
    switch (key) {
    case Qt::Key_Plus:
        zoomBy(1);
        m_owner->setZoomStatus(m_grid.zoom());
        break;
    case Qt::Key_Minus:
        zoomBy(-1);
        m_owner->setZoomStatus(m_grid.zoom());
        break;
    case Qt::Key_PageUp:
        m_owner->advanceFrame(1);
        break;
    case Qt::Key_PageDown:
        m_owner->advanceFrame(-1);
        break;
    default:
        break;
    }
    reportPointer(m_lastPointer.x(), m_lastPointer.y());
    // The plain widget handling ignores the key, so the window sees it too (Space).
    QWidget::keyPressEvent(event);
}

void Karte::wheelEvent(QWheelEvent *event)
{
    // Only the vertical wheel zooms. A sideways wheel or a touchpad event that reports
    // pixels alone has no vertical angle and would otherwise count as a step out.
    const int steps = event->angleDelta().y();
    if (steps != 0) {
        zoomBy(steps > 0 ? 1 : -1);
        m_owner->setZoomStatus(m_grid.zoom());
    }
    QWidget::wheelEvent(event);
}

void Karte::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    m_dragPos = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void Karte::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->modifiers() & Qt::ShiftModifier) {
        const QPointF p = mapToScene(pos);
        translate(p.x(), p.y());
        centerOn(p);
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_lastPointer = pos;
    if (event->buttons() == Qt::NoButton) {
        reportPointer(pos.x(), pos.y());
    } else if (event->buttons() == Qt::LeftButton) {
        const QPoint delta = pos - m_dragPos;
        m_dragPos = pos;
        m_dragged = true;
        panBy(delta);
        QWidget::mouseMoveEvent(event);
    }
}

void Karte::mouseReleaseEvent(QMouseEvent *event)
{
    // Only the left button pans and picks; releasing another one is no click.
    if (event->button() == Qt::LeftButton) {
        if (m_dragged) {
            m_dragged = false;
        } else {
            const QPoint pos = event->position().toPoint();
            m_owner->toggleFollowAt(pos.x(), pos.y());
        }
    }
    QWidget::mouseReleaseEvent(event);
}

void Karte::resizeEvent(QResizeEvent *event)
{
    m_scene->setSceneRect(0, 0, event->size().width(), event->size().height());
    refresh();
    QGraphicsView::resizeEvent(event);
}
