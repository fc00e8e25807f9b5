#pragma once

#include "chart/PaintedBands.h"
#include "chart/SpeedScale.h"

#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QRect>

#include <optional>
#include <vector>

class GateItem;
class Karte;
class Ship;
class Track;

// The gates and the tracks of the race drawn once into a picture that the chart keeps with
// its tiles, under the boats, so that a replay step costs a copy of the chart's background
// instead of drawing every leg again. The item itself paints what changes between
// checkpoints, over the picture and under the boats.
//
// What the picture holds depends on the replay time only through checkpoints every
// pieceSeconds: each boat's line up to its last point before the current checkpoint, cut
// into pieces at the checkpoints and drawn piece after piece (all boats' oldest piece
// first). Over the picture each paint draws, boat after boat, the legs since the checkpoint
// and, with tails, those about to leave the window. So the screen is the same whether the
// picture was drawn just now or long ago, and moving on to the next checkpoint with
// complete tracks only adds a piece per boat. The picture is drawn anew on zoom, pan,
// resize, a boat switched, followed or recoloured, positions merged into a boat's past, a
// time before the picture, and with tails at every checkpoint. A followed boat draws its
// line itself, over the others.
//
// With tracks coloured by speed, the legs of one checkpoint interval are drawn together,
// colour by colour: a handful of pens per piece of time instead of one per leg, in the same
// order whether the picture was drawn at once or piece by piece. A new speed range draws
// the picture anew.
class TrackLayer : public QGraphicsItem
{
public:
    static constexpr int pieceSeconds = 900;

    explicit TrackLayer(const Karte &chart);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    // Brings the picture up to the boats and gates as they are now, drawing a slice of it
    // when it is big; true if its pixels changed, so that the chart's background, which
    // holds it, must be drawn anew. The chart calls it before every paint.
    bool prepare();
    // The picture over what the painter holds: gates, then the tracks as far as drawn.
    void drawPicture(QPainter &painter) const;

    // The picture is drawn anew at the next paint.
    void invalidate() { m_valid = false; }
    // A picture of more legs than that is drawn over several paints, sliceMs of work at a
    // time, so that a zoom or a huge answer never holds the window up for long. Until it is
    // complete, the tracks show as far as they are drawn.
    static constexpr int defaultSliceLegs = 20000;
    static constexpr int defaultSliceMs = 8;
    void setSlicing(int legs, int ms)
    {
        m_sliceLegs = legs;
        m_sliceMs = ms;
    }
    bool complete() const { return m_next >= m_pending.size(); }
    // The longest time one paint spent on the picture, for measurements.
    qint64 longestSliceNs() const { return m_longestSliceNs; }
    void resetLongestSlice() { m_longestSliceNs = 0; }
    // How often the picture has been drawn from nothing, and how often pieces were added to
    // it, for tests and measurements.
    int rebuilds() const { return m_rebuilds; }
    int extensions() const { return m_extensions; }
    // The boats, in the order they are painted.
    QList<Ship *> ships() const;

private:
    // What of a boat the picture holds: points top down to bottom of its shown track.
    struct Part
    {
        const Ship *ship = nullptr;
        quint64 revision = 0;
        QRgb colour = 0;
        bool shown = false;
        bool complete = false;
        // Whether top is the last point before the checkpoint, so that later pieces may
        // simply be added.
        bool canonical = false;
        qint64 checkpoint = 0;
        int top = -1;
        int bottom = -1;
    };
    // One piece of a boat's line, between two checkpoints.
    struct Piece
    {
        qint64 checkpoint;
        int order;
        int top;
        int bottom;
    };

    static bool drawsInLayer(const Ship *ship);
    static qint64 checkpointAt(qint64 time);
    // The part of the boat the picture holds at its replay time.
    static Part partOf(const Ship *ship);
    // The pieces of the line from point top down to bottom.
    static void appendPieces(std::vector<Piece> &pieces, int order, const Track &track, int top, int bottom);

    enum class Change { None, Extend, Redraw };
    Change changeNeeded(const std::vector<Part> &parts) const;
    void rebuild(const QList<Ship *> &ships, std::vector<Part> parts);
    void extend(const QList<Ship *> &ships, std::vector<Part> parts);
    // Queues pieces after those still to draw; they sort after every piece queued before.
    void queuePieces(std::vector<Piece> pieces);
    // Draws queued pieces, all of them or a slice when there are many; true if it drew any.
    bool drawQueued(const QList<Ship *> &ships);

    // What the picture shows of a gate.
    struct GateLook
    {
        const GateItem *gate;
        QPoint end1;
        QPoint end2;
        quint32 colour;
        bool operator==(const GateLook &o) const
        {
            return gate == o.gate && end1 == o.end1 && end2 == o.end2 && colour == o.colour;
        }
    };
    std::vector<GateLook> gatesNow() const;

    const Karte &m_chart;
    QImage m_image;
    PaintedBands m_painted;
    // The speed colours the picture was drawn in; none: each boat's own colour.
    std::optional<SpeedScale> m_scale;
    std::vector<Part> m_parts;
    // The boats the parts are of, in the same order.
    QList<Ship *> m_shown;
    std::vector<GateLook> m_gates;
    bool m_prepared = false;
    QRect m_range;
    QPoint m_offset;
    QSize m_size;
    int m_zoom = -1;
    bool m_valid = false;
    std::vector<Piece> m_pending;
    size_t m_next = 0;
    int m_sliceLegs = defaultSliceLegs;
    int m_sliceMs = defaultSliceMs;
    qint64 m_longestSliceNs = 0;
    int m_rebuilds = 0;
    int m_extensions = 0;
};
