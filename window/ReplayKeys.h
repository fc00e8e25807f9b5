#pragma once

#include <QObject>

#include <functional>

// Larger replay steps on the chart: Shift with Page Up or Page Down moves the replay by a
// minute, Ctrl with them by ten minutes. Page Up and Page Down alone stay the chart's own
// one-second steps.
class ReplayKeys : public QObject
{
    Q_OBJECT
public:
    static constexpr int shiftStep = 60;
    static constexpr int controlStep = 600;

    // watched: the widget whose keys are looked at (not owned); advance moves the replay.
    ReplayKeys(QObject *watched, std::function<void(int)> advance, QObject *parent = nullptr);

    // The step for a key with its modifiers; 0 when the key is not one of these.
    static int stepFor(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(int)> m_advance;
};
