#pragma once

#include <QColor>
#include <QList>

class Track;

// Colours for the speed of a track's legs: from blue for the slowest of a race to red for
// the fastest, in a few steps, so that a picture of many tracks is drawn with one pen per
// step instead of one per leg. Speeds outside the range take the colour of its end.
class SpeedScale
{
public:
    static constexpr int steps = 16;

    SpeedScale() = default;
    SpeedScale(double lowKnots, double highKnots);

    // The range most legs of the tracks lie in: a few stray fixes (a jump of the GPS, a
    // tracker switched on ashore) would otherwise squeeze every real leg into one colour.
    // Rounded out to half knots, so that a few more positions rarely change it.
    static SpeedScale ofTracks(const QList<const Track *> &tracks);

    double lowKnots() const { return m_low; }
    double highKnots() const { return m_high; }
    int stepOf(double knots) const;
    // The step of leg i of the track, from point i to point i + 1.
    int stepOfLeg(const Track &track, int i) const;
    static QColor colour(int step);

    // Over the ground, in knots; 0 for a leg without time.
    static double legKnots(const Track &track, int i);

    bool operator==(const SpeedScale &o) const { return m_low == o.m_low && m_high == o.m_high; }
    bool operator!=(const SpeedScale &o) const { return !(*this == o); }

private:
    double m_low = 0.0;
    double m_high = 10.0;
};
