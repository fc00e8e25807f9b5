#pragma once

#include <QObject>

class ReplayTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sliderMovesEveryBoatToItsPosition();
    void followedBoatStaysCentredWhileAnimating();
    void playingFromTheEndStopsAtOnce();
    void pageKeysStepAndStopAtTheEnds();
    void timeBeyondTheEndMovesNoBoat();
    void zeroShowsTheCurrentTime();
    void captureWritesAPicturePerStep();
    void raceWithoutPositionsStopsOnTheFirstTick();
};
