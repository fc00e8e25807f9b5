#pragma once

#include "chart/TileGrid.h"
#include "chart/TrackPoint.h"
#include "chart/TrackSegment.h"
#include "store/PositionRow.h"

#include <QColor>

#include <algorithm>
#include <memory>
#include <vector>

// A boat's positions in ascending time, with the legs between them. A track either owns
// its records or refers to records of another track (the simplified track picks records of
// the full one): both then see the same records, and nothing is copied. A large race holds
// millions of records, so a record keeps only what is stored: position, time and course.
class Track
{
public:
    Track();

    int count() const;
    bool isEmpty() const { return count() == 0; }
    // The record at i, its index set to i.
    TrackPoint point(int i) const;
    qint32 time(int i) const { return record(i).time; }
    GeoPoint position(int i) const { return {record(i).lat, record(i).lng}; }
    TrackPoint last() const { return point(count() - 1); }

    // Segment i runs from point i to point i + 1.
    int segmentCount() const { return count() > 1 ? count() - 1 : 0; }
    TrackSegment segment(int i) const;

    // A new record at the end of an owning track.
    void append(double lat, double lng, qint32 time, double course);
    // An existing record of source, referred to, not copied. The track then refers to
    // source's records; a track refers to one source only.
    void append(const Track &source, int index);
    // Records in ascending time, merged in among the existing ones (which keep their order).
    // A track that another track refers to gets a store of its own first, so the other one
    // keeps seeing the records it picked.
    void merge(const std::vector<TrackPoint> &sorted);
    // Stored positions in ascending time merged in the same way, leaving out those at a time
    // the track holds already (or that came before in the list). Returns how many came in.
    int mergeNew(const std::vector<PositionRow> &sorted);
    // Index of the record with that time, -1 if there is none.
    int indexOfTime(qint32 time) const;
    // Index of the first record at or after that time (count() if none).
    int firstAtOrAfter(qint32 time) const;
    void clear();
    // Reserves room for n more records.
    void reserve(int n);

    bool sharesRecordsWith(const Track &other) const { return m_store == other.m_store; }
    // Changes whenever records other than new ones at the end come or go, so that what was
    // drawn from the track is drawn anew. Revisions of all tracks come from one counter, so
    // a track never shows a revision another track (or an earlier state of it) had.
    quint64 revision() const { return std::max(m_revision, m_store->revision); }

    // The record's pixel on the whole map at the grid's zoom, kept until the zoom changes.
    WorldPixel worldPixel(int i, const TileGrid &grid) const;

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour) { m_colour = colour; }

private:
    struct Record
    {
        double lat;
        double lng;
        qint32 time;
        // Rounded toward zero, so that its whole degrees are those of the course given.
        float course;
    };
    static_assert(sizeof(Record) == 24, "a stored position should stay at 24 bytes");

    struct Store
    {
        std::vector<Record> records;
        quint64 revision = nextRevision();
        // World pixels of the records at one zoom, as far as they have been asked for.
        mutable std::vector<WorldPixel> pixels;
        mutable int pixelZoom = -1;
    };

    int recordIndex(int i) const { return m_refs.empty() && !m_refersToOther ? i : int(m_refs[size_t(i)]); }
    const Record &record(int i) const { return m_store->records[size_t(recordIndex(i))]; }
    static Record stored(double lat, double lng, qint32 time, double course);
    // Own records to add n more to, in room that grows by half: a live race adds a few
    // positions at a time, and room for just those would copy the whole track each time.
    std::vector<Record> &recordsForMore(size_t n);
    // Sorts records added from oldSize on in among the others, if they are not all later.
    void settleAdded(size_t oldSize);
    static quint64 nextRevision();

    QColor m_colour;
    std::shared_ptr<Store> m_store;
    std::vector<quint32> m_refs;
    quint64 m_revision = nextRevision();
    bool m_refersToOther = false;
};
