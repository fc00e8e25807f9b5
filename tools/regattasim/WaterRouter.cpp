#include "tools/regattasim/WaterRouter.h"

#include "tools/coastline/LandMask.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace {
// How far from land a route keeps, in cells.
constexpr int clearance = 1;
}

WaterRouter::WaterRouter(const LandMask &land, double west, double south, double east, double north,
                         double cellDegrees)
    : m_west(west)
    , m_south(south)
    , m_cell(cellDegrees)
    , m_cols(int(std::ceil((east - west) / cellDegrees)))
    , m_rows(int(std::ceil((north - south) / cellDegrees)))
{
    QVector<bool> land_(m_cols * m_rows, false);
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            // A cell is land when any of nine samples over it is.
            bool any = false;
            for (int i = 0; i < 3 && !any; ++i) {
                for (int j = 0; j < 3 && !any; ++j)
                    any = land.isLand(south + (r + (i + 0.5) / 3) * cellDegrees,
                                      west + (c + (j + 0.5) / 3) * cellDegrees);
            }
            land_[r * m_cols + c] = any;
        }
    }
    m_blocked = land_;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            if (!land_[r * m_cols + c])
                continue;
            for (int dr = -clearance; dr <= clearance; ++dr) {
                for (int dc = -clearance; dc <= clearance; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    if (rr >= 0 && cc >= 0 && rr < m_rows && cc < m_cols)
                        m_blocked[rr * m_cols + cc] = true;
                }
            }
        }
    }
}

int WaterRouter::cellOf(const LatLng &p) const
{
    const int c = std::clamp(int((p.lng - m_west) / m_cell), 0, m_cols - 1);
    const int r = std::clamp(int((p.lat - m_south) / m_cell), 0, m_rows - 1);
    return r * m_cols + c;
}

LatLng WaterRouter::centreOf(int cell) const
{
    return {m_south + (cell / m_cols + 0.5) * m_cell, m_west + (cell % m_cols + 0.5) * m_cell};
}

bool WaterRouter::blocked(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_cols || row >= m_rows)
        return true;
    return m_blocked[row * m_cols + col];
}

bool WaterRouter::isClear(const LatLng &a, const LatLng &b) const
{
    const double steps = std::max(std::abs(b.lat - a.lat), std::abs(b.lng - a.lng)) / (m_cell / 3) + 1;
    for (int i = 0; i <= int(steps); ++i) {
        const LatLng p = Geo::between(a, b, i / steps);
        const int cell = cellOf(p);
        if (m_blocked[cell])
            return false;
    }
    return true;
}

LatLng WaterRouter::nearestClear(const LatLng &p) const
{
    const int start = cellOf(p);
    if (!m_blocked[start])
        return p;
    const int c0 = start % m_cols, r0 = start / m_cols;
    for (int ring = 1; ring < std::max(m_cols, m_rows); ++ring) {
        int best = -1;
        double bestKm = 0;
        for (int dr = -ring; dr <= ring; ++dr) {
            for (int dc = -ring; dc <= ring; ++dc) {
                if (std::max(std::abs(dr), std::abs(dc)) != ring || blocked(c0 + dc, r0 + dr))
                    continue;
                const int cell = (r0 + dr) * m_cols + c0 + dc;
                const double km = Geo::distanceKm(p, centreOf(cell));
                if (best < 0 || km < bestKm) {
                    best = cell;
                    bestKm = km;
                }
            }
        }
        if (best >= 0)
            return centreOf(best);
    }
    return p;
}

QList<LatLng> WaterRouter::route(const LatLng &from, const LatLng &to) const
{
    if (isClear(from, to))
        return {from, to};
    const int startCell = cellOf(nearestClear(from));
    const int goalCell = cellOf(nearestClear(to));
    const double kmPerLng = std::cos(from.lat * 3.141592653589793 / 180.0);
    auto h = [&](int cell) {
        const double dr = double(cell / m_cols - goalCell / m_cols);
        const double dc = double(cell % m_cols - goalCell % m_cols) * kmPerLng;
        return std::sqrt(dr * dr + dc * dc);
    };
    // The search touches a small part of the grid; only that part is reset afterwards.
    QVector<double> &cost = m_cost;
    QVector<int> &parent = m_parent;
    if (cost.isEmpty()) {
        cost.fill(-1.0, m_cols * m_rows);
        parent.fill(-1, m_cols * m_rows);
    }
    QVector<int> &touched = m_touched;
    touched.clear();
    touched.append(startCell);
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    cost[startCell] = 0;
    open.push({h(startCell), startCell});
    while (!open.empty()) {
        const auto [f, cell] = open.top();
        open.pop();
        if (cell == goalCell)
            break;
        if (f > cost[cell] + h(cell) + 1e-9)
            continue;
        const int c = cell % m_cols, r = cell / m_cols;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                if ((dr == 0 && dc == 0) || blocked(c + dc, r + dr))
                    continue;
                const int next = (r + dr) * m_cols + c + dc;
                const double step = std::sqrt(double(dr * dr) + dc * dc * kmPerLng * kmPerLng);
                const double g = cost[cell] + step;
                if (cost[next] < 0 || g < cost[next] - 1e-12) {
                    if (cost[next] < 0)
                        touched.append(next);
                    cost[next] = g;
                    parent[next] = cell;
                    open.push({g + h(next), next});
                }
            }
        }
    }
    QList<LatLng> cells;
    if (cost[goalCell] >= 0) {
        for (int cell = goalCell; cell != -1; cell = parent[cell])
            cells.prepend(centreOf(cell));
    }
    for (int cell : touched) {
        cost[cell] = -1.0;
        parent[cell] = -1;
    }
    if (cells.isEmpty())
        return {from, to};
    cells.first() = from;
    cells.last() = to;
    // Keep only the turns: from each kept point, jump to the farthest one in clear sight.
    QList<LatLng> path{cells.first()};
    qsizetype at = 0;
    while (at < cells.size() - 1) {
        qsizetype next = at + 1;
        while (next + 1 < cells.size() && isClear(cells[at], cells[next + 1]))
            ++next;
        path.append(cells[next]);
        at = next;
    }
    return path;
}
