#pragma once

#include <QDateTime>
#include <QtGlobal>

// The one source of "now" for the whole program. Tests pin it so that race windows,
// last-report colours and time labels are reproducible.
class Clock
{
public:
    // Whole seconds since 1970-01-01 00:00 UTC (milliseconds / 1000, truncated).
    static qint64 nowSeconds();
    // The same moment as a date-time, for local-time labels.
    static QDateTime now();

    static void pin(qint64 secondsSinceEpoch);
    static void unpin();
};
