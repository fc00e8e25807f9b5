#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Clock;
class QLabel;
class StatusNote;

// Says in the status line how fetching goes: the time of the last answer with positions, and
// a note when the tracking server cannot be reached or a fetch fails, naming how old the
// data on the screen is. The note stays until the next answer with positions.
class FetchHealth : public QObject
{
    Q_OBJECT
public:
    // How long a failure note stays if nothing answers.
    static constexpr int failureShowMs = 10 * 60 * 1000;

    // note and label: not owned.
    FetchHealth(StatusNote *note, QLabel *lastFetchLabel, const Clock &clock, QObject *parent = nullptr);

    // An answer with positions has been handled.
    void succeeded();
    // A request got no answer (httpStatus 0) or an HTTP error.
    void failed(int httpStatus);

    std::optional<qint64> lastSuccess() const { return m_lastSuccess; }
    QString failureText(int httpStatus) const;
    static QString labelText(std::optional<qint64> lastSuccess);

private:
    QString timeOfDay(qint64 t) const;

    StatusNote *m_note;
    QLabel *m_label;
    const Clock &m_clock;
    std::optional<qint64> m_lastSuccess;
    QString m_shownFailure;
};
