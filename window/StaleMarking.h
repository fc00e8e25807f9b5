#pragma once

#include <QList>
#include <QObject>

class QSpinBox;
class Ship;

// Honest positions: a boat whose last known position at the replay time is older than the
// user's limit is drawn faded, with its age. The limit, in minutes, is set on the settings
// page and kept in the settings store.
class StaleMarking : public QObject
{
    Q_OBJECT
public:
    static constexpr char settingsKey[] = "stalePositionMinutes";
    static constexpr int defaultMinutes = 10;
    static constexpr int longestMinutes = 1440;

    // box: not owned; set to the stored limit.
    explicit StaleMarking(QSpinBox *box, QObject *parent = nullptr);

    int limitMinutes() const { return m_minutes; }
    // Sets the box, stores the limit and says so.
    void setLimitMinutes(int minutes);

    // The age shown on a boat at time t: empty while its last position by then is within
    // the limit, or when it has none by then.
    static QString labelFor(const Ship &ship, qint64 t, qint64 limitSeconds);
    void mark(Ship &ship, qint64 t) const;
    // Every boat with positions, each at its own replay time.
    void markAll(const QList<Ship *> &ships) const;

signals:
    void limitChanged();

private:
    void apply(int minutes);

    QSpinBox *m_box;
    int m_minutes = defaultMinutes;
};
