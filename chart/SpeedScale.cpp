#include "chart/SpeedScale.h"

#include "chart/GeoPoint.h"
#include "chart/Track.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// More legs than this are sampled evenly: the range of a million legs is that of some tens
// of thousands, at a fraction of the cost.
constexpr int sampleLimit = 50000;
constexpr double lowShare = 0.05;
constexpr double highShare = 0.95;
} // namespace

SpeedScale::SpeedScale(double lowKnots, double highKnots)
    : m_low(lowKnots)
    , m_high(std::max(highKnots, lowKnots + 0.5))
{
}

double SpeedScale::legKnots(const Track &track, int i)
{
    const int seconds = track.time(i + 1) - track.time(i);
    if (seconds <= 0)
        return 0.0;
    // Legs are short: the flat approximation is as good as the great circle and much cheaper
    // for the hundreds of thousands drawn anew on a zoom.
    const GeoPoint a = track.position(i);
    const GeoPoint b = track.position(i + 1);
    const double dLat = b.lat - a.lat;
    const double dLng = (b.lng - a.lng) * std::cos(Geo::radians((a.lat + b.lat) / 2));
    const double nm = 60.0 * std::sqrt(dLat * dLat + dLng * dLng);
    return nm * 3600.0 / seconds;
}

int SpeedScale::stepOf(double knots) const
{
    if (!(knots > m_low))
        return 0;
    const int step = int((knots - m_low) / (m_high - m_low) * steps);
    return std::min(step, steps - 1);
}

int SpeedScale::stepOfLeg(const Track &track, int i) const
{
    return stepOf(legKnots(track, i));
}

QColor SpeedScale::colour(int step)
{
    // Hue from blue (240°) over cyan, green and yellow to red (0°).
    const int s = std::clamp(step, 0, steps - 1);
    return QColor::fromHsv(240 - 240 * s / (steps - 1), 255, 230);
}

SpeedScale SpeedScale::ofTracks(const QList<const Track *> &tracks)
{
    qint64 legs = 0;
    for (const Track *track : tracks)
        legs += track->segmentCount();
    if (legs == 0)
        return SpeedScale();
    const qint64 stride = std::max<qint64>(1, legs / sampleLimit);
    std::vector<double> speeds;
    speeds.reserve(size_t(std::min<qint64>(legs, sampleLimit + tracks.size())));
    // Every stride-th leg of the race, counted on across the tracks.
    qint64 skip = 0;
    for (const Track *track : tracks) {
        const int legCount = track->segmentCount();
        qint64 i = skip;
        for (; i < legCount; i += stride) {
            // A leg without time says nothing of the boat's speed.
            if (track->time(int(i) + 1) > track->time(int(i)))
                speeds.push_back(legKnots(*track, int(i)));
        }
        skip = i - legCount;
    }
    if (speeds.empty())
        return SpeedScale();
    auto at = [&speeds](double share) {
        const auto nth = speeds.begin() + std::ptrdiff_t(share * double(speeds.size() - 1));
        std::nth_element(speeds.begin(), nth, speeds.end());
        return *nth;
    };
    const double low = std::floor(at(lowShare) * 2.0) / 2.0;
    const double high = std::ceil(at(highShare) * 2.0) / 2.0;
    return SpeedScale(low, high);
}
