#pragma once

#include "tools/coastline/Coastline.h"

#include <QImage>

// A raster of land and water over part of a coastline, for quick "is this water?"
// questions. Lakes count as land: no boat sails there from the sea.
class LandMask
{
public:
    // The area from (west, south) to (east, north), in cells of the given size in degrees.
    LandMask(const Coastline &coastline, double west, double south, double east, double north, double cellDegrees);

    // Outside the area everything is water.
    bool isLand(double lat, double lng) const;
    bool isWater(double lat, double lng) const { return !isLand(lat, lng); }

private:
    QImage m_mask;
    double m_west;
    double m_north;
    double m_cell;
};
