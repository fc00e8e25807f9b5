#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a tracking server served for one event, and a check that a viewer's database holds
// exactly that: every boat, every position once, and lastget at the newest position.
namespace StoredRaceCheck {

struct Position
{
    double lat;
    double lng;
    qint64 time;
};

struct Boat
{
    int id;
    qint64 firstTime;           // field 8 of its boat-list line
    QList<Position> positions;  // everything served after firstTime
};

// The viewer never shows nor asks for this boat; it keeps the boat list's values.
inline constexpr int hiddenBoatId = 38;

// One line per difference, empty when the database holds what was served. Reads the
// file read-only, so it may run while the viewer writes.
QStringList problems(const QString &databasePath, int eventId, const QList<Boat> &served);
// How many positions of the event the file holds so far.
int storedPositions(const QString &databasePath, int eventId);

} // namespace StoredRaceCheck
