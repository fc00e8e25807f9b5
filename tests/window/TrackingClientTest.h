#pragma once

#include <QObject>

class TrackingClientTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void requestsCarryTheirHeadersAndQueries();
    void repeatedTimeStampsAreStoredOnce();
    void answerWithoutValidLinesKeepsLastget();
    void boatListStoresBoatsWithPaletteColours();
    void rereadBoatListResetsTheEventsPositions();
    void futureRaceLoadsBoatsThenPositions();
    void laterFetchesAskFromLastget();
    void networkErrorMakesTheNextFetchOnlyProbe();
    void withAutomaticLoadingOffTheTimerIsLeftAlone();
    void overlappingFetchesNeverStoreAPositionTwice();
    void lateAnswerAfterARaceChangeIsDropped();
    void stalledServerTimesOutAndFetchingResumes();
    void connectionResetMidBodyStoresNothing();
    void boatListForAnotherEventLeavesTheShownBoats();
    void answerInManyPiecesIsStoredWhole();
};
