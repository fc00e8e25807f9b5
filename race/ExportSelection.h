#pragma once

#include "race/ExportedRace.h"

#include <QList>

class Ship;

// Picks what a track file of the loaded race holds: the boats switched on in the
// participant list whose track is loaded, each with its recorded positions up to the
// replay time, or all of them when the boat shows its complete track. Boats left with no
// position are left out.
namespace ExportSelection {
ExportedRace collect(const QString &raceName, const QList<Ship *> &ships, qint64 replayTime, qint64 createdAt);
}
