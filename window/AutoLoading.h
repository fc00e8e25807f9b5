#pragma once

#include <QObject>

class FetchIndicator;
class QCheckBox;
class QTimer;

// Fetching new positions by timer: the preference, its check box, the period in minutes and
// the timer that calls for a fetch. A finished race switches it off without touching the
// preference; a running one brings the stored choice back.
class AutoLoading : public QObject
{
    Q_OBJECT
public:
    // The fetch period in minutes: at most a day, and far from the timer's int range.
    static constexpr int longestInterval = 1440;

    AutoLoading(QCheckBox *box, FetchIndicator *indicator, QObject *parent = nullptr);

    // The period from the preferences; a stored value below a minute keeps 5.
    void readInterval();
    bool isOn() const { return m_on; }
    int interval() const { return m_interval; }
    QTimer *timer() const { return m_timer; }

    // Sets the flag and the box; the timer runs while it is on.
    void set(bool on);
    // Greys the box out and clears the flag.
    void disable();
    // Enables the box (with the stored choice if a finished race had greyed it) and applies it.
    void enable();
    // The box was clicked: the choice is stored and applied.
    void applyBox(bool busy);
    // A fetch was started: the period counts from now.
    void fetchStarted();

signals:
    // The period is over: time for the next fetch.
    void fetchDue();

private:
    void restart();

    QCheckBox *m_box;
    FetchIndicator *m_indicator;
    QTimer *m_timer;
    int m_interval = 5;
    bool m_on = false;
};
