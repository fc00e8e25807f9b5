#pragma once

#include "chart/SpeedScale.h"

#include <QWidget>

// The key to speed-coloured tracks, in the chart's lower left corner: the colours from slow
// to fast with the speeds at both ends.
class SpeedLegend : public QWidget
{
    Q_OBJECT
public:
    // chart: the widget it lies on, whose corner it keeps to.
    explicit SpeedLegend(QWidget *chart);

    void setScale(const SpeedScale &scale);
    SpeedScale scale() const { return m_scale; }
    static QString title();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    SpeedScale m_scale;
};
