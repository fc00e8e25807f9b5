#pragma once

#include "chart/GeoPoint.h"

#include <QGraphicsItem>
#include <QPoint>
#include <QString>

// A course gate or mark: a line between two geographic ends, each end marked by a small
// red circle. The chart re-projects both ends on every refresh.
class GateItem : public QGraphicsItem
{
public:
    // A second end of exactly (0, 0) is derived: length km from the first end on the
    // given course. midFlag puts the anchor at the midpoint, else at the first end.
    GateItem(double lat1, double lng1, double lat2, double lng2, double bearing, double length,
             const QString &name, bool midFlag);
    ~GateItem() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    // The gate as paint draws it, whoever holds it.
    void draw(QPainter &painter) const;

    GeoPoint geoEnd1() const { return m_geoEnd1; }
    GeoPoint geoEnd2() const { return m_geoEnd2; }
    GeoPoint anchor() const { return m_anchor; }
    QString name() const { return m_name; }
    double gateBearing() const { return m_gateBearing; }
    double gateLength() const { return m_gateLength; }
    bool midFlag() const { return m_midFlag; }

    QPoint pixelEnd1() const { return m_pixelEnd1; }
    QPoint pixelEnd2() const { return m_pixelEnd2; }
    void setPixelEnds(const QPoint &end1, const QPoint &end2);

    quint32 lineColour() const { return m_lineColour; }
    void setLineColour(int red, int green, int blue);

    // Whether the chart draws the gate into the picture it keeps under the tracks; the item
    // then paints nothing itself, or it would lie over them.
    bool inChartPicture() const { return m_inChartPicture; }
    void setInChartPicture(bool on) { m_inChartPicture = on; }

private:
    QPoint m_pixelEnd1;
    QPoint m_pixelEnd2;
    GeoPoint m_geoEnd1;
    GeoPoint m_geoEnd2;
    GeoPoint m_anchor;
    double m_gateBearing;
    double m_gateLength;
    QString m_name;
    bool m_midFlag;
    quint32 m_lineColour = 0xFFFA6464;
    bool m_inChartPicture = false;
};
