#include "chart/Track.h"

#include <algorithm>
#include <atomic>
#include <cmath>

Track::Track()
    : m_colour(QStringLiteral("#FFFFFF"))
    , m_store(std::make_shared<Store>())
{
}

int Track::count() const
{
    return m_refersToOther ? int(m_refs.size()) : int(m_store->records.size());
}

TrackPoint Track::point(int i) const
{
    const Record &r = record(i);
    TrackPoint p(r.lat, r.lng, r.time, r.course, 0.0);
    p.index = i;
    return p;
}

TrackSegment Track::segment(int i) const
{
    TrackSegment s;
    s.from = position(i);
    s.to = position(i + 1);
    s.time = time(i + 1);
    return s;
}

quint64 Track::nextRevision()
{
    static std::atomic<quint64> counter{0};
    return ++counter;
}

Track::Record Track::stored(double lat, double lng, qint32 time, double course)
{
    float c = float(course);
    // A float can round up past a whole degree (44.99999999 to 45.0); its whole degrees
    // choose the boat's picture, so it is moved back toward zero.
    if (std::isfinite(course) && std::abs(double(c)) > std::abs(course))
        c = std::nextafter(c, 0.0f);
    return {lat, lng, time, c};
}

void Track::append(double lat, double lng, qint32 time, double course)
{
    Q_ASSERT(!m_refersToOther);
    m_store->records.push_back(stored(lat, lng, time, course));
}

void Track::append(const Track &source, int index)
{
    if (!m_refersToOther) {
        Q_ASSERT(m_store->records.empty());
        m_store = source.m_store;
        m_refersToOther = true;
    }
    Q_ASSERT(m_store == source.m_store);
    m_refs.push_back(quint32(source.recordIndex(index)));
}

std::vector<Track::Record> &Track::recordsForMore(size_t n)
{
    Q_ASSERT(!m_refersToOther);
    if (m_store.use_count() > 1)
        m_store = std::make_shared<Store>(*m_store);
    std::vector<Record> &records = m_store->records;
    const size_t needed = records.size() + n;
    if (records.capacity() < needed)
        records.reserve(std::max(needed, records.capacity() + records.capacity() / 2));
    return records;
}

void Track::settleAdded(size_t oldSize)
{
    std::vector<Record> &records = m_store->records;
    if (oldSize == 0 || records.size() == oldSize || records[oldSize - 1].time < records[oldSize].time)
        return;
    std::inplace_merge(records.begin(), records.begin() + std::ptrdiff_t(oldSize), records.end(),
                       [](const Record &a, const Record &b) { return a.time < b.time; });
    // Records moved: what was projected or drawn of them no longer fits.
    m_store->revision = nextRevision();
    m_store->pixels.clear();
}

void Track::merge(const std::vector<TrackPoint> &sorted)
{
    if (sorted.empty())
        return;
    std::vector<Record> &records = recordsForMore(sorted.size());
    const size_t oldSize = records.size();
    for (const TrackPoint &p : sorted)
        records.push_back(stored(p.position.lat, p.position.lng, p.time, p.course));
    settleAdded(oldSize);
}

int Track::mergeNew(const std::vector<PositionRow> &sorted)
{
    if (sorted.empty())
        return 0;
    std::vector<Record> &records = recordsForMore(sorted.size());
    const size_t oldSize = records.size();
    // Both run in ascending time: one walk through the held records finds the times taken.
    size_t held = 0;
    for (const PositionRow &p : sorted) {
        while (held < oldSize && records[held].time < p.time)
            ++held;
        if ((held < oldSize && records[held].time == p.time)
            || (records.size() > oldSize && records.back().time == p.time))
            continue;
        records.push_back(stored(p.lat, p.lng, p.time, p.course));
    }
    const int added = int(records.size() - oldSize);
    settleAdded(oldSize);
    return added;
}

int Track::firstAtOrAfter(qint32 t) const
{
    int lo = 0;
    int hi = count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (time(mid) < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int Track::indexOfTime(qint32 t) const
{
    const int i = firstAtOrAfter(t);
    return i < count() && time(i) == t ? i : -1;
}

void Track::clear()
{
    // A fresh store: a track that refers to the old records keeps them.
    m_store = std::make_shared<Store>();
    m_refs.clear();
    m_revision = nextRevision();
    m_refersToOther = false;
}

void Track::reserve(int n)
{
    if (!m_refersToOther)
        m_store->records.reserve(m_store->records.size() + size_t(n));
}

WorldPixel Track::worldPixel(int i, const TileGrid &grid) const
{
    Store &store = *m_store;
    if (store.pixelZoom != grid.zoom()) {
        store.pixels.clear();
        store.pixelZoom = grid.zoom();
    }
    const size_t r = size_t(recordIndex(i));
    // Each record's pixel is worked out when it is first asked for: a simplified track asks
    // for a few of the records it shares with the full one, and a new zoom should not cost
    // the projection of all the others.
    constexpr WorldPixel notYet{WorldPixel::onEdge | WorldPixel::inFull, 0};
    if (store.pixels.size() < store.records.size())
        store.pixels.resize(store.records.size(), notYet);
    WorldPixel &pixel = store.pixels[r];
    if (pixel.x == notYet.x)
        pixel = grid.worldPixelFor(store.records[r].lng, store.records[r].lat);
    return pixel;
}
