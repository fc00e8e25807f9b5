#pragma once

#include <QObject>

// Passing gates and marks on synthetic courses with known crossings, and where a boat
// stands at a replay time.
class BoatProgressTest : public QObject
{
    Q_OBJECT
private slots:
    void crossingALine_data();
    void crossingALine();
    void touchingAGateEndCountsOnce();
    void crossingTwiceCountsTheFirstWayThatCounts();
    void missedMarkBlocksTheRestUntilRounded();
    void pointMarks();
    void severalGatesInOneLeg();
    void startCountsOnlyAfterTheGun_data();
    void startCountsOnlyAfterTheGun();
    void positionsInAnyOrderGiveTheSameResult();
    void finishAndElapsedTime();
    void stateAtATime();
};
