#pragma once

#include <QObject>

class QAbstractButton;
class QSlider;

// Live mode: the replay sits at the newest position and stays there as new positions come
// in. The user's own move of the slider (or the page keys, or playing) ends it.
class LiveFollow : public QObject
{
    Q_OBJECT
public:
    // button: checkable, not owned; slider: the replay slider, not owned.
    LiveFollow(QAbstractButton *button, QSlider *slider, QObject *parent = nullptr);

    bool isOn() const { return m_on; }
    // On: the slider goes to the newest time.
    void setOn(bool on);
    // The replay's range has changed: in live mode the slider follows its newest end.
    void rangeChanged();
    void leave() { setOn(false); }

signals:
    // Live mode has just been switched on.
    void entered();

private:
    QAbstractButton *m_button;
    QSlider *m_slider;
    bool m_on = false;
};
