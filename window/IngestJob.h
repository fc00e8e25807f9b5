#pragma once

#include "store/PositionStore.h"

#include <QByteArrayList>
#include <QMetaType>

#include <vector>

// One position answer of the tracking server on its way to the database and back.
struct IngestJob
{
    int shipId = 0;
    int eventId = 0;
    // Which boat of which boat list the answer is for, to find it again on the way back.
    int tag = -1;
    int generation = -1;
    // The boat's lastget the request was made from.
    qint32 lastget = 0;
    // The answer's body in the pieces it arrived in.
    QByteArrayList body;
    // Times of the positions the boat's track holds, ascending: not offered to the table
    // again.
    std::vector<qint32> knownTimes;
};

struct IngestResult
{
    enum class LineProblem { FieldCount, BadValue };

    int shipId = 0;
    int eventId = 0;
    int tag = -1;
    int generation = -1;
    PositionStore::Outcome outcome;
    // The positions new in the table, in ascending time: the window merges them into the
    // boat's track without sorting on its own thread.
    std::vector<PositionRow> stored;
    // Lines refused, in the order they came.
    std::vector<LineProblem> problems;
};

Q_DECLARE_METATYPE(IngestJob)
Q_DECLARE_METATYPE(IngestResult)
