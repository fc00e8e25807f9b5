#pragma once

#include <QObject>

class ShipTest : public QObject
{
    Q_OBJECT
private slots:
    void exactHitReturnsStoredRecordAndKeepsSpeed();
    void atOrAfterLastPointTakesCourseOfLastLeg();
    void interpolatesBetweenAndExtrapolatesBeforeFirst();
    void bracketWithoutDurationGivesEarlierPoint();
    void replayStepsGiveWhatAFreshLookupGives();
    void storedRowsMergeInLeavingOutHeldTimes();
    void simplifyKeepsPointsBeyondTolerance();
    void simplifiedTrackSharesRecords();
    void trackLineCoversThreeHours();
    void boatWithoutCurrentPointIsSkipped();
    void paintsSpriteOnCourseRingLabelAndTrack();
    void spriteFrameIsTheTruncatedCourse();
    void boundingRectCoversAllThatIsPainted();
    void spriteStripHoldsRotatedFrames();
    void unfollowAllRestoresColours();
};
