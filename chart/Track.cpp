#include "chart/Track.h"

#include <algorithm>

Track::Track()
    : m_colour(QStringLiteral("#FFFFFF"))
    , m_records(std::make_shared<std::vector<TrackPoint>>())
{
}

int Track::count() const
{
    return m_refersToOther ? int(m_refs.size()) : int(m_records->size());
}

TrackPoint &Track::point(int i)
{
    return (*m_records)[size_t(recordIndex(i))];
}

const TrackPoint &Track::point(int i) const
{
    return (*m_records)[size_t(recordIndex(i))];
}

TrackSegment Track::segment(int i) const
{
    TrackSegment s;
    const TrackPoint &a = point(i);
    const TrackPoint &b = point(i + 1);
    s.from = a.position;
    s.to = b.position;
    s.time = b.time;
    if (size_t(i + 1) < m_pixels.size()) {
        s.fromPixel = m_pixels[size_t(i)];
        s.toPixel = m_pixels[size_t(i + 1)];
    }
    return s;
}

void Track::ensurePixels()
{
    if (m_pixels.size() != size_t(count()))
        m_pixels.resize(size_t(count()));
}

void Track::setSegmentPixels(int i, const QPoint &from, const QPoint &to)
{
    ensurePixels();
    m_pixels[size_t(i)] = from;
    m_pixels[size_t(i + 1)] = to;
}

void Track::setFromPixel(int i, const QPoint &from)
{
    ensurePixels();
    m_pixels[size_t(i)] = from;
}

void Track::append(double lat, double lng, qint32 time, double course, double second)
{
    Q_ASSERT(!m_refersToOther);
    m_records->emplace_back(lat, lng, time, course, second);
}

void Track::append(const Track &source, int index)
{
    if (!m_refersToOther) {
        Q_ASSERT(m_records->empty());
        m_records = source.m_records;
        m_refersToOther = true;
    }
    Q_ASSERT(m_records == source.m_records);
    m_refs.push_back(quint32(source.recordIndex(index)));
}

void Track::merge(std::vector<TrackPoint> sorted)
{
    Q_ASSERT(!m_refersToOther);
    if (sorted.empty())
        return;
    if (m_records.use_count() > 1)
        m_records = std::make_shared<std::vector<TrackPoint>>(*m_records);
    std::vector<TrackPoint> &records = *m_records;
    const bool inOrder = records.empty() || records.back().time < sorted.front().time;
    const auto middle = records.insert(records.end(), sorted.begin(), sorted.end());
    if (!inOrder) {
        std::inplace_merge(records.begin(), middle, records.end(),
                           [](const TrackPoint &a, const TrackPoint &b) { return a.time < b.time; });
    }
    m_pixels.clear();
}

int Track::indexOfTime(qint32 time) const
{
    int lo = 0;
    int hi = count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (point(mid).time < time)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < count() && point(lo).time == time ? lo : -1;
}

void Track::clear()
{
    // A fresh store: a track that refers to the old records keeps them.
    m_records = std::make_shared<std::vector<TrackPoint>>();
    m_refs.clear();
    m_refersToOther = false;
    m_pixels.clear();
}

void Track::reserve(int n)
{
    if (!m_refersToOther)
        m_records->reserve(m_records->size() + size_t(n));
}
