#pragma once

#include <QtGlobal>

// One position of a boat as the tracking server reports it and table track keeps it. The
// course is carried for the boat in memory; the table has no column for it.
struct PositionRow
{
    double lat = 0;
    double lng = 0;
    qint32 time = 0;
    double course = 0;
};
