#pragma once

#include "chart/Track.h"

#include <QColor>
#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QPersistentModelIndex>
#include <QPolygonF>
#include <QStaticText>
#include <QString>

#include <optional>

class Karte;
class QStandardItem;

// One boat of the current race on the chart: its identity as stored, its track, and its
// display state at the replay time. Drawn as a coloured sprite on its course with a speed
// label, a ring while followed, and its track line.
class Ship : public QGraphicsItem
{
public:
    // Legs of the track drawn behind the boat when the complete track is off.
    static constexpr int trackWindowSeconds = 10800;

    Ship(int id, const QString &name, const QString &sourceKind, const QString &source);
    ~Ship() override;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    // Hit by its picture: testing the whole track line for every pointer move would cost
    // more than all the drawing.
    bool contains(const QPointF &point) const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    // The position record at a replay time: a stored record on an exact hit or at and after
    // the last point, else a new record interpolated on the leg around t. Empty when the
    // shown track has no points.
    std::optional<TrackPoint> positionAt(int t);
    void updateOnChart(const Karte &chart);
    void simplify(double tolerance);
    void unfollowAll();
    QString speedText() const;

    // Identity and attributes as stored in the ship table.
    int id() const { return m_id; }
    int regattaId() const { return m_regattaId; }
    void setRegattaId(int v) { m_regattaId = v; }
    QString name() const { return m_name; }
    void setName(const QString &v) { m_name = v; }
    QString klasse() const { return m_klasse; }
    void setKlasse(const QString &v) { m_klasse = v; }
    QString startnr() const { return m_startnr; }
    void setStartnr(const QString &v) { m_startnr = v; }
    QString skipper() const { return m_skipper; }
    void setSkipper(const QString &v) { m_skipper = v; }
    QString team() const { return m_team; }
    void setTeam(const QString &v) { m_team = v; }
    QColor farbe() const { return m_farbe; }
    void setFarbe(const QColor &v) { m_farbe = v; }
    void setFarbe(const QString &colourName) { m_farbe = QColor(colourName); }
    QColor baseFarbe() const { return m_baseFarbe; }
    void setBaseFarbe(const QColor &v) { m_baseFarbe = v; }
    void takeBaseFarbe() { m_baseFarbe = m_farbe; }
    int lastget() const { return m_lastget; }
    void setLastget(int v) { m_lastget = v; }
    QString sourceKind() const { return m_sourceKind; }
    void setSourceKind(const QString &v) { m_sourceKind = v; }
    QString source() const { return m_source; }
    void setSource(const QString &v) { m_source = v; }

    // Links into the participant list.
    QPersistentModelIndex listIndex() const { return m_listIndex; }
    void setListIndex(const QPersistentModelIndex &v) { m_listIndex = v; }
    QStandardItem *lastReportCell() const { return m_lastReportCell; }
    void setLastReportCell(QStandardItem *v) { m_lastReportCell = v; }

    // Tracks: every position loaded, the simplified selection, and the one drawn.
    Track &fullTrack() { return m_fullTrack; }
    const Track &fullTrack() const { return m_fullTrack; }
    Track &simplifiedTrack() { return m_simplifiedTrack; }
    Track &shownTrack() { return *m_shownTrack; }
    const Track &shownTrack() const { return *m_shownTrack; }
    void showFullTrack() { m_shownTrack = &m_fullTrack; }
    void showSimplifiedTrack() { m_shownTrack = &m_simplifiedTrack; }
    int pointCount() const { return m_pointCount; }
    void setPointCount(int v) { m_pointCount = v; }
    double simplifyTolerance() const { return m_simplifyTolerance; }

    // Replay state.
    double speed() const { return m_speed; }
    void setSpeed(double v) { m_speed = v; }
    int currentTime() const { return m_currentTime; }
    void setCurrentTime(int v) { m_currentTime = v; }
    bool hasCurrentPoint() const { return m_currentPoint.has_value(); }
    TrackPoint currentPoint() const { return m_currentPoint.value_or(TrackPoint()); }
    void setCurrentPoint(const TrackPoint &p) { m_currentPoint = p; }
    QPoint pixelPos() const { return m_pixelPos; }
    // The track line as drawn at the last chart update: from the boat back through the
    // earlier points (empty before the first update or with the track off).
    QPolygonF trackLine() const;
    // Points of the track the line runs through, top down to bottom (none: top < bottom).
    int lineTop() const { return m_lineTop; }
    int lineBottom() const { return m_lineBottom; }
    // The part of the line the chart's track layer holds in its picture. None: top < 0;
    // the boat then draws its line itself.
    void setLayerRange(int top, int bottom);
    // The rest of the line of a boat in the layer, which the layer draws over its picture
    // and under all boats, so that what is drawn does not depend on when the picture was.
    void drawLayerLegs(QPainter &painter) const;
    int layerTop() const { return m_layerTop; }
    int layerBottom() const { return m_layerBottom; }
    QImage boatImage() const { return m_boatImage; }
    QPoint hotSpot() const { return m_hotSpot; }
    QImage spriteStrip() const { return m_spriteStrip; }
    void setSpriteStrip(const QImage &strip) { m_spriteStrip = strip; }
    QList<Ship *> raceShips() const { return m_raceShips; }
    void setRaceShips(const QList<Ship *> &ships) { m_raceShips = ships; }

    // Display flags.
    bool simplifyTrack() const { return m_simplifyTrack; }
    void setSimplifyTrack(bool v) { m_simplifyTrack = v; }
    bool show() const { return m_show; }
    void setShow(bool v) { m_show = v; }
    bool showLabel() const { return m_showLabel; }
    void setShowLabel(bool v) { m_showLabel = v; }
    bool showSprite() const { return m_showSprite; }
    void setShowSprite(bool v) { m_showSprite = v; }
    bool showCompleteTrack() const { return m_showCompleteTrack; }
    void setShowCompleteTrack(bool v) { m_showCompleteTrack = v; }
    bool showTrack() const { return m_showTrack; }
    void setShowTrack(bool v) { m_showTrack = v; }
    bool follow() const { return m_follow; }
    void setFollow(bool v) { m_follow = v; }
    bool ready() const { return m_ready; }
    void setReady(bool v) { m_ready = v; }

    // A position older than the user's limit at the replay time: the boat is drawn faded,
    // with this age under it ("vor 2 h"). Empty while the position is fresh.
    static constexpr qreal staleOpacity = 0.35;
    QString staleLabel() const { return m_staleLabel; }
    bool isStale() const { return !m_staleLabel.isEmpty(); }
    void setStaleLabel(const QString &label) { m_staleLabel = label; }

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    // The boat image at the chart's device pixel ratio, so that it stays sharp on a dense screen.
    void drawBoatImage(qreal devicePixelRatio);
    void drawStaleLabel(QPainter *painter) const;
    void placeTrackLine();
    void updateBounds(const QSize &view);

    // The leg the last replay step fell into and what was worked out of its two ends: a
    // replay moves on a little at a time, so the next step mostly finds the same leg.
    struct LegMemo
    {
        const Track *track = nullptr;
        int lo = -1;
        GeoPoint a;
        GeoPoint b;
        qint32 ta = 0;
        qint32 tb = 0;
        double kmPerSecond = 0;
        double bearing = 0;
        bool known = false;
    };

    int m_id;
    int m_regattaId = 0;
    double m_speed = 0.0;
    LegMemo m_leg;
    QString m_name;
    QString m_klasse;
    QString m_startnr;
    QString m_skipper;
    QString m_team;
    QColor m_farbe;
    QColor m_baseFarbe;
    QPersistentModelIndex m_listIndex;
    QStandardItem *m_lastReportCell = nullptr;
    QString m_sourceKind;
    QString m_source;
    int m_lastget = 0;
    Track m_fullTrack;
    Track m_simplifiedTrack;
    Track m_noTrack;
    Track *m_shownTrack = &m_noTrack;
    double m_simplifyTolerance = 0.0;
    int m_currentTime = 0;
    std::optional<TrackPoint> m_currentPoint;
    QPoint m_pixelPos;
    const Karte *m_chart = nullptr;
    QString m_labelText;
    QRectF m_labelBox;
    QStaticText m_label;
    qreal m_labelAscent = -1;
    // Where the line was last placed: it keeps its place while the track is switched off.
    QPoint m_lineStart;
    int m_lineTop = 0;
    int m_lineBottom = 1;
    int m_layerTop = -1;
    int m_layerBottom = -1;
    QRectF m_bounds;
    // What the boat image was drawn for: frame and colour.
    int m_imageFrame = -1;
    QRgb m_imageColour = 0;
    QImage m_spriteStrip;
    QImage m_boatImage;
    QPoint m_hotSpot = QPoint(16, 16);
    int m_pointCount = 0;
    QList<Ship *> m_raceShips;
    QString m_staleLabel;

    bool m_simplifyTrack = false;
    bool m_show = true;
    bool m_showLabel = true;
    bool m_showSprite = true;
    bool m_showCompleteTrack = true;
    bool m_showTrack = true;
    bool m_follow = false;
    bool m_ready = false;
};
