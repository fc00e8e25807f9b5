#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class Clock;
class GateItem;
class IconSelector;
class Karte;
class QModelIndex;
class Regatta;
class Ship;

// Readouts where the pointer rests: on a boat of the chart its name plate and how it sails at
// the replay time, on a gate its name, and on a boat's row of the participant list the same
// as on the chart, with how long ago its last report came in. Worked out when asked, so they
// cost nothing while the replay runs.
class ReadoutTips : public QObject
{
    Q_OBJECT
public:
    // Around a boat's position and a gate's line the pointer counts as on it.
    static constexpr int boatReach = 14;
    static constexpr int gateReach = 6;

    // None of them owned; replayTime gives the moment the chart shows.
    ReadoutTips(Karte *chart, IconSelector *list, const Clock &clock, std::function<qint64()> replayTime,
                QObject *parent = nullptr);

    void setRegatta(const Regatta *regatta) { m_regatta = regatta; }

    // The boat, else the gate, under a view pixel of the chart; nullptr when none.
    const Ship *boatAt(const QPoint &pixel) const;
    const GateItem *gateAt(const QPoint &pixel) const;
    // The readout at a view pixel of the chart, or for a cell of the participant list; empty
    // where there is nothing to say.
    QString chartTextAt(const QPoint &pixel) const;
    QString listText(const QModelIndex &index) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Karte *m_chart;
    IconSelector *m_list;
    const Clock &m_clock;
    std::function<qint64()> m_replayTime;
    const Regatta *m_regatta = nullptr;
};
