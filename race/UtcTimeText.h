#pragma once

#include <QString>
#include <QtGlobal>

// Seconds since 1970 as UTC in ISO 8601 with a "Z", e.g. "2024-04-10T10:00:00Z", the form
// GPX and KML expect. Computed directly: a large export writes a million of them, and going
// through a date-time object for each would take much of the export's time.
namespace UtcTimeText {
constexpr int length = 20;

// Writes the 20 characters at out (years 0 to 9999; a position's 32-bit time always is);
// returns the end.
char *write(char *out, qint64 secondsSinceEpoch);
QString format(qint64 secondsSinceEpoch);
}
