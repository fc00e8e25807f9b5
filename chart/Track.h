#pragma once

#include "chart/TrackPoint.h"
#include "chart/TrackSegment.h"

#include <QColor>
#include <QPoint>

#include <memory>
#include <vector>

// A boat's positions in ascending time, with the legs between them. A track either owns
// its records or refers to records of another track (the simplified track picks records of
// the full one): both then see the same records, and nothing is copied.
class Track
{
public:
    Track();

    int count() const;
    bool isEmpty() const { return count() == 0; }
    TrackPoint &point(int i);
    const TrackPoint &point(int i) const;
    const TrackPoint &last() const { return point(count() - 1); }

    // Segment i runs from point i to point i + 1.
    int segmentCount() const { return count() > 1 ? count() - 1 : 0; }
    TrackSegment segment(int i) const;
    void setSegmentPixels(int i, const QPoint &from, const QPoint &to);
    void setFromPixel(int i, const QPoint &from);

    // A new record at the end of an owning track.
    void append(double lat, double lng, qint32 time, double course, double second);
    // An existing record of source, referred to, not copied. The track then refers to
    // source's records; a track refers to one source only.
    void append(const Track &source, int index);
    // Records in ascending time, merged in among the existing ones (which keep their order).
    // A track that another track refers to gets a store of its own first, so the other one
    // keeps seeing the records it picked.
    void merge(std::vector<TrackPoint> sorted);
    // Index of the record with that time, -1 if there is none.
    int indexOfTime(qint32 time) const;
    void clear();
    // Reserves room for n more records.
    void reserve(int n);

    bool sharesRecordsWith(const Track &other) const { return m_records == other.m_records; }

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour) { m_colour = colour; }

private:
    int recordIndex(int i) const { return m_refs.empty() && !m_refersToOther ? i : int(m_refs[size_t(i)]); }
    void ensurePixels();

    QColor m_colour;
    std::shared_ptr<std::vector<TrackPoint>> m_records;
    std::vector<quint32> m_refs;
    bool m_refersToOther = false;
    // View pixel of every point, once projected: segment i has pixels i and i + 1.
    std::vector<QPoint> m_pixels;
};
