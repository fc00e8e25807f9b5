#pragma once

#include <QIcon>
#include <QObject>

class Clock;
class Karte;
class QAbstractButton;
class Regatta;
class QLabel;
class QSlider;
class QTimer;
class ReplaySpeed;
class StaleMarking;

// The replay bar's behaviour: the time slider moves every boat of the race to one moment,
// the animation advances it every 30 ms (by ten seconds, or as the chosen replay speed
// says), boats whose last position is old by then are marked, and with capture on each step
// also writes a picture of the chart.
class ReplayTimeline : public QObject
{
    Q_OBJECT
public:
    static constexpr int frameIntervalMs = 30;
    static constexpr int frameStep = 10;
    static constexpr int pageStep = 120;

    // The widgets of the replay bar and the chart it moves; none of them owned.
    ReplayTimeline(QSlider *slider, QLabel *timeLabel, QAbstractButton *playButton, const QIcon &playIcon,
                   const QIcon &pauseIcon, Karte *chart, const Clock &clock, QObject *parent = nullptr);

    // The race model whose boats are moved.
    void setRegatta(const Regatta *regatta) { m_regatta = regatta; }
    // The replay speed that sets each tick's step, and the marking of old positions; both
    // optional, not owned.
    void setSpeed(ReplaySpeed *speed) { m_speed = speed; }
    void setStaleMarking(const StaleMarking *marking) { m_stale = marking; }

    void setTimeRange(int minimum, int maximum);
    void setTimeValue(int value);
    void setUhrzeit(int tstamp);
    void advanceFrame(int step);
    void animOnOff();
    void stopAnimation();
    void captureOnOff() { m_capturing = !m_capturing; }

    bool animating() const { return m_animating; }
    bool capturing() const { return m_capturing; }
    QTimer *timer() const { return m_timer; }

    static QString capturePath(int tstamp);

private:
    void showStopped();
    void capture(int tstamp);

    QSlider *m_slider;
    QLabel *m_timeLabel;
    QAbstractButton *m_playButton;
    QIcon m_playIcon;
    QIcon m_pauseIcon;
    Karte *m_chart;
    const Clock &m_clock;
    const Regatta *m_regatta = nullptr;
    ReplaySpeed *m_speed = nullptr;
    const StaleMarking *m_stale = nullptr;
    QTimer *m_timer;
    bool m_animating = false;
    bool m_capturing = false;
};
