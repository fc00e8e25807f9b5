#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Clock;
class QLabel;
class QStatusBar;

// Says in the status line how fetching goes: the time of the last answer with positions, and
// a message across the status line when the tracking server cannot be reached or a fetch
// fails, naming how old the data on the screen is. Until the next answer with positions the
// time of the last one stays red.
class FetchHealth : public QObject
{
    Q_OBJECT
public:
    // How long the message stays; the next failure brings it back.
    static constexpr int messageShowMs = 30000;

    // bar and label: not owned.
    FetchHealth(QStatusBar *bar, QLabel *lastFetchLabel, const Clock &clock, QObject *parent = nullptr);

    // An answer with positions has been handled.
    void succeeded();
    // A request got no answer (httpStatus 0) or an HTTP error.
    void failed(int httpStatus);

    std::optional<qint64> lastSuccess() const { return m_lastSuccess; }
    bool failing() const { return !m_shownFailure.isEmpty(); }
    QString failureText(int httpStatus) const;
    static QString labelText(std::optional<qint64> lastSuccess);

private:
    QString timeOfDay(qint64 t) const;

    QStatusBar *m_bar;
    QLabel *m_label;
    const Clock &m_clock;
    std::optional<qint64> m_lastSuccess;
    QString m_shownFailure;
};
