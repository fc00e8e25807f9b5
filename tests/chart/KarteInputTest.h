#pragma once

#include <QObject>

class KarteInputTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void zoomStaysWithinSixToSixteen();
    void arrowKeysPanByOneTileAndPageKeysReachTheOwner();
    void pressAndReleaseIsAClickAnyMoveIsADrag();
    void otherButtonsNeitherMoveNorReport();
    void pointerMovesAreReported();
    void panningDuringAnimationStopsFollowing();
    void scaleBarAtReferencePosition();
    void zeroSizeViewStopsBeforeTileWork();
};
