#pragma once

#include <QList>
#include <QString>

// Real tracks of a real race, bundled with the program: two dinghies sailing two races
// off Valencia on 21 June 2025, one fix a second (MIT licence, see data/).
namespace RecordedRace {

struct Fix
{
    double lat;
    double lng;
    int time;
};

struct Boat
{
    QString name; // sail number, as recorded
    QList<Fix> fixes; // ascending time, both races
};

QString valenciaPath();
// Empty when the file cannot be read.
QList<Boat> valencia();

// The track moved so that its first fix lies at (lat, lng), keeping its shape and its
// size on the ground.
QList<Fix> movedTo(const QList<Fix> &fixes, double lat, double lng);
// Only the fixes of the first `seconds` seconds.
QList<Fix> firstSeconds(const QList<Fix> &fixes, int seconds);

} // namespace RecordedRace
