#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>

class QComboBox;

// How fast the replay plays: the fixed step of ten race seconds per 30 ms tick (the default),
// or a multiple of real time. At a multiple each tick moves the replay by the wall time since
// the previous tick times the factor, in whole seconds; what is left over is carried to the
// next tick, so no time is lost and the slider keeps its whole seconds. The choice lives in
// the settings store.
class ReplaySpeed : public QObject
{
    Q_OBJECT
public:
    static constexpr char settingsKey[] = "replaySpeed";
    // The factor that stands for the fixed step.
    static constexpr int fixedStep = 0;

    // box: not owned; filled with the speeds, the stored one chosen.
    explicit ReplaySpeed(QComboBox *box, QObject *parent = nullptr);

    // Real-time factors offered, slowest first.
    static QList<int> factors();

    int factor() const { return m_factor; }
    // Chooses a speed (an unknown factor counts as the fixed step) and stores it.
    void setFactor(int factor);

    // The animation starts: wall time counts from now, nothing is carried.
    void start();
    // Race seconds for the tick now: fixed for the fixed step, else the wall time since the
    // previous tick (or the start) times the factor.
    int stepForTick(int fixed);
    // The same for a given wall time in milliseconds since the previous tick.
    int advance(qint64 elapsedMs);

signals:
    void changed(int factor);

private:
    void choose(int index);

    QComboBox *m_box;
    int m_factor = fixedStep;
    QElapsedTimer m_wall;
    // Race milliseconds not yet moved.
    qint64 m_carryMs = 0;
};
