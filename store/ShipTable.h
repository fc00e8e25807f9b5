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
    // A boat's positions of an event in time order (lat, lng and time; no course).
    static ReadResult positionsOf(int shipId, int eventId, std::vector<PositionRow> *positions);
};
