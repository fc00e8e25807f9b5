#include "chart/TrackSimplifier.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

struct Vec
{
    double x, y;
};

Vec minus(const GeoPoint &a, const GeoPoint &b)
{
    return {a.lat - b.lat, a.lng - b.lng};
}

double dot(const Vec &a, const Vec &b)
{
    return a.x * b.x + a.y * b.y;
}

// Squared distance of p from the segment a-b, in plain degrees of latitude and longitude.
double squaredSegmentDistance(const GeoPoint &p, const GeoPoint &a, const GeoPoint &b)
{
    const Vec ab = minus(b, a);
    const double abLength2 = dot(ab, ab);
    const Vec ap = minus(p, a);
    Vec u{0.0, 0.0};
    if (abLength2 > 0.0) {
        const double len = std::sqrt(abLength2);
        u = {ab.x / len, ab.y / len};
    }
    const double l = dot(ap, u);
    if (l <= 0.0)
        return dot(ap, ap);
    if (l * l >= abLength2) {
        const Vec bp = minus(p, b);
        return dot(bp, bp);
    }
    return dot(ap, ap) - l * l;
}

} // namespace

namespace TrackSimplifier {

void simplify(const Track &full, double tolerance, Track &simplified)
{
    const double epsilon2 = tolerance * tolerance;
    simplified.clear();
    const int n = full.count();
    if (n == 0)
        return;
    std::vector<char> keep(size_t(n), 0);

    // Douglas-Peucker; the pending ranges are kept on a list instead of the call stack, as
    // a long zig-zag track would recurse once per point.
    std::vector<std::pair<int, int>> pending{{0, n - 1}};
    while (!pending.empty()) {
        auto [first, last] = pending.back();
        pending.pop_back();
        while (first + 1 < last) {
            const GeoPoint a = full.position(first);
            const GeoPoint b = full.position(last);
            int best = 0;
            double largest = 0.0;
            for (int i = first + 1; i < last; ++i) {
                const double d = squaredSegmentDistance(full.position(i), a, b);
                if (d > largest) {
                    largest = d;
                    best = i;
                }
            }
            if (largest <= epsilon2)
                break;
            keep[size_t(best)] = 1;
            pending.push_back({first, best});
            first = best;
        }
    }
    keep[0] = 1;
    keep[size_t(n - 1)] = 1;
    for (int i = 0; i < n; ++i) {
        if (keep[size_t(i)])
            simplified.append(full, i);
    }
}

} // namespace TrackSimplifier
