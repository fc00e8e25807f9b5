#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

// One recorded position of a boat, as written to a track file.
struct ExportedFix
{
    double lat = 0.0;
    double lng = 0.0;
    qint64 time = 0; // seconds since 1970, UTC
};

// A boat as a track file describes it, with its positions in ascending time.
struct ExportedBoat
{
    QString name;
    QString startnr;
    QString klasse;
    QString skipper;
    QString team;
    QColor farbe; // invalid: the file gives the boat no colour
    std::vector<ExportedFix> fixes;
};

// What goes into one track file: plain data, copied out of the race so that writing
// needs no widget and no chart item.
struct ExportedRace
{
    QString name;
    qint64 createdAt = 0; // seconds since 1970, UTC
    QList<ExportedBoat> boats;

    qint64 fixCount() const
    {
        qint64 n = 0;
        for (const ExportedBoat &boat : boats)
            n += qint64(boat.fixes.size());
        return n;
    }
};

// Told the number of positions written so far, now and then while a file is written;
// returning false stops the writer.
using ExportProgress = std::function<bool(qint64 fixesWritten)>;

enum class ExportResult { Written, Cancelled, Failed };
