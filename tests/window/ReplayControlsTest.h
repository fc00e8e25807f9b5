#pragma once

#include <QObject>

class ReplayControlsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void speedsAreOfferedAndRemembered();
    void realTimeCarriesWhatATickLeavesOver();
    void sixtyTimesRealTimeMovesEveryBoatEveryStep();
    void liveModeStaysAtTheNewestUntilTheUserMoves();
    void liveModeFetchesWhenLoadingAutomatically();
    void shiftAndControlPageKeysStepByMinutes();
};
