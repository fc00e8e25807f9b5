#pragma once

#include <QObject>

// What the tracking server sends ends up in the database and the boats exactly once, in
// time order, whatever the order, overlap and repetition of its answers and whatever the
// disk does meanwhile.
class RaceDataIntegrityTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void answerNewestFirstKeepsEveryPosition();
    void disorderedOverlappingAnswersAreStoredExactlyOnce();
    void lateBoatListKeepsStoredTracks();
    void lockedDatabaseLosesNothingForLater();
    void olderPositionsNeverMoveLastgetBack();
    void boatOfAnotherEventIsReportedNotLost();
};
