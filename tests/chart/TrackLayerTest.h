#pragma once

#include <QObject>

class TrackLayerTest : public QObject
{
    Q_OBJECT
private slots:
    void crossingTracksLookTheSameWhateverWasCached();
    void tailsLookTheSameWhateverWasCached();
    void linesMatchWholeLinesBesidePoints();
    void replayStepsReuseThePicture();
    void labelsMatchPlainText();
    void speedColouredTracksLookTheSameWhateverWasCached();
    void legendShowsOnlyWithSpeedColours();
    void speedStepsLeaveOutStrayLegs();
    void bigPicturesAreDrawnInSlices();
    void onlyPaintedBandsAreBlended();
    void gatesLieUnderTheTracksAndFollowTheChart();
    void renderingElsewhereShowsTheBoatsAsTheyAre();
};
