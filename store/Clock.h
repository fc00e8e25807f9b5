#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <optional>

// The program's source of "now". Start-up makes one and hands it to the parts that need
// the time; tests pin their own so that race windows, last-report colours and time labels
// are reproducible.
class Clock
{
public:
    // Whole seconds since 1970-01-01 00:00 UTC (milliseconds / 1000, truncated).
    qint64 nowSeconds() const;
    // The same moment as a date-time, for local-time labels.
    QDateTime now() const;

    void pin(qint64 secondsSinceEpoch) { m_pinned = secondsSinceEpoch; }
    void unpin() { m_pinned.reset(); }

private:
    std::optional<qint64> m_pinned;
};
