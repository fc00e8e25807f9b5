#pragma once

#include "tools/regattasim/Geo.h"

#include <QList>
#include <QVector>

class LandMask;

// Finds a way over open water between two points, keeping some distance from every
// shore, on a grid over an area; the result is the fewest straight legs that stay clear.
class WaterRouter
{
public:
    WaterRouter(const LandMask &land, double west, double south, double east, double north, double cellDegrees);

    // From `from` to `to`, both included; the straight line when no way is found.
    QList<LatLng> route(const LatLng &from, const LatLng &to) const;
    // Whether the straight leg stays clear of the shores.
    bool isClear(const LatLng &a, const LatLng &b) const;
    // The nearest clear point, for marks that lie close to a shore.
    LatLng nearestClear(const LatLng &p) const;

private:
    int cellOf(const LatLng &p) const;
    LatLng centreOf(int cell) const;
    bool blocked(int col, int row) const;

    double m_west;
    double m_south;
    double m_cell;
    int m_cols;
    int m_rows;
    QVector<bool> m_blocked;
    // Scratch space of the search, kept between searches.
    mutable QVector<double> m_cost;
    mutable QVector<int> m_parent;
    mutable QVector<int> m_touched;
};
