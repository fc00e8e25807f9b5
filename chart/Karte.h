#pragma once

#include "chart/GeoPoint.h"
#include "chart/SpeedScale.h"
#include "chart/TileGrid.h"
#include "chart/TileMemory.h"

#include <QGraphicsView>
#include <QPointer>
#include <QImage>
#include <QList>
#include <QUrl>

#include <memory>
#include <optional>

class ChartOwner;
class SpeedLegend;
class GateItem;
class Scheme;
class TileSource;
class Track;
class TrackLayer;

// The chart: OpenStreetMap tiles from the disk cache or the tile server as background,
// a scale bar, and the boats and gates of the scene on top. Pan with the left button or
// the arrow keys, zoom with the wheel or + and -.
class Karte : public QGraphicsView
{
    Q_OBJECT
public:
    static constexpr int minZoom = 6;
    static constexpr int maxZoom = 16;

    // tiles: where the tiles come from; not owned.
    Karte(Scheme *scene, ChartOwner *owner, TileSource *tiles);
    ~Karte() override;

    void setCenter(double lat, double lng) { m_grid.setCentre(lat, lng); }
    void setCenter(const GeoPoint &centre) { m_grid.setCentre(centre.lat, centre.lng); }
    GeoPoint center() const { return {m_grid.centreLat(), m_grid.centreLng()}; }
    void setZoom(int zoom);
    int zoom() const { return m_grid.zoom(); }
    void zoomBy(int step);
    void panBy(const QPoint &delta);
    void refresh();
    void setGates(const QList<GateItem *> &gates) { m_gates = gates; }
    // The gates of a race: projected now, added to the scene, and re-projected on every refresh.
    void placeGates(const QList<GateItem *> &gates);
    // The gates placed, drawn under the tracks in this order.
    const QList<GateItem *> &gates() const { return m_gates; }
    // View pixel of a track's point: its pixel on the map at this zoom, shifted to the view;
    // the same as getPixelPosForCoordinates of the point.
    QPoint trackPixel(const Track &track, int i) const;
    TrackLayer *trackLayer() const { return m_layer; }
    // Brings the picture of gates and tracks kept with the tiles up to the boats as they
    // are; every paint does it first, and so must anything that renders the chart itself.
    void prepareTrackPicture();
    // Tracks coloured by the speed of their legs, with the key in a corner; none: each boat's
    // track in its own colour.
    void setSpeedScale(const std::optional<SpeedScale> &scale);
    const SpeedScale *speedScale() const { return m_speedScale ? &*m_speedScale : nullptr; }
    SpeedLegend *speedLegend() const { return m_speedLegend; }
    void reportPointer(int px, int py);

    // View pixel of a position (longitude first); (0, 0) when it cannot be projected.
    QPoint getPixelPosForCoordinates(double lng, double lat) const;
    GeoPoint coordinatesAtPixel(int px, int py) const;
    const TileGrid &grid() const { return m_grid; }

    // Tiles held in memory, for inspection.
    bool hasTile(const QPoint &tile) const { return m_memory.has(tile); }
    bool isPlaceholder(const QPoint &tile) const { return m_memory.isPlaceholder(tile); }
    QImage storedTile(const QPoint &tile) const { return m_memory.image(tile); }
    int storedTileCount() const { return m_memory.count(); }
    QUrl pendingUrl() const { return m_pendingUrl; }
    // A fetch step is queued or a pass has requests in flight it has not finished with.
    bool fetchPassRunning() const { return m_stepQueued || !m_pendingUrl.isEmpty(); }

    TileSource *tileSource() const { return m_tiles; }

    virtual void drawScale(QPainter *painter, int zoom);

signals:
    void updated(const QRect &rect);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private slots:
    void tileReplied(int zoom, const QPoint &tile, const QImage &image);
    void download();
    void updateMap(const QRect &r);

private:
    // Stacking: gates and the tracks drawn once (both in the kept background), then the
    // newest legs, then the boats (at level 0).
    static constexpr qreal gateLevel = -2;
    static constexpr qreal trackLevel = -1;

    void projectGates();
    void scheduleStep();
    bool fetchStep();
    void storeTile(const QPoint &tile, const QImage &image);
    void requestTile(const QPoint &tile);

    struct BackgroundKey
    {
        int zoom = -1;
        QRect range;
        QPoint offset;
        QSize size;
        double centreLat = 0;
        bool operator==(const BackgroundKey &o) const
        {
            return zoom == o.zoom && range == o.range && offset == o.offset && size == o.size
                   && centreLat == o.centreLat;
        }
    };

    ChartOwner *m_owner;
    // The window may delete the scene first; it then takes the track layer with it.
    QPointer<Scheme> m_scene;
    TileSource *m_tiles;
    TrackLayer *m_layer = nullptr;
    std::optional<SpeedScale> m_speedScale;
    SpeedLegend *m_speedLegend = nullptr;
    BackgroundKey m_backgroundKey;
    QList<GateItem *> m_gates;
    TileGrid m_grid;
    TileMemory m_memory;
    QUrl m_pendingUrl;
    bool m_stepQueued = false;
    bool m_dragged = false;
    QPoint m_lastPointer;
    QPoint m_dragPos;
};
