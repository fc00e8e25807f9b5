#pragma once

#include "store/PositionRow.h"
#include "store/ReadResult.h"
#include "store/ShipRow.h"

#include <QList>

#include <vector>

// Boats and their stored positions, read as a race is loaded.
class ShipTable
{
public:
    // The boats of an event, grouped by class and by numeric start number within a class.
    static ReadResult ofEvent(int eventId, QList<ShipRow> *rows);
    // A boat's positions of an event in time order (lat, lng and time; no course). Rows no
    // answer of the tracking server could have given (no place on the earth, no time after
    // 1970 in the table's range) are left out and counted in leftOut.
    static ReadResult positionsOf(int shipId, int eventId, std::vector<PositionRow> *positions,
                                  int *leftOut = nullptr);
};
