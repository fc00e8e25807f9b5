#pragma once

#include <QObject>

class PositionStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void everyPositionIsStoredOnceWhateverTheOrder();
    void lastgetOnlyGrows();
    void lockedDatabaseKeepsNothingAndLastget();
    void shortLockIsWaitedOut();
    void readOnlyFileRefusesAndSaysSo();
    void boatListStopsAtAFailedWrite();
    void boatOfAnotherEventIsReported();
    void storedPositionsReadBackExactly();
    void answersTogetherAreAllOrNothing();
};
