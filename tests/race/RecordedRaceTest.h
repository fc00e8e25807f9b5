#pragma once

#include <QObject>

// The race analysis on GPS tracks recorded at a real race: two dinghies at Valencia, two
// races of two rounds each on a course read off their tracks.
class RecordedRaceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyRoundingIsFound_data();
    void everyRoundingIsFound();
};
