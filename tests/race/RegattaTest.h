#pragma once

#include <QObject>

class RegattaTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void futureRaceAsksForTheBoatListEvenWithStoredBoats();
    void boatWithoutPositionsIsAskedForFromRaceStart();
    void finishedRaceSwitchesAutomaticLoadingOff();
    void racesOfOneEventShareBoatsAndPositions();
    void boatsAreGroupedByClassInStartNumberOrder();
    void timeRangeFollowsTheStoredPositions();
    void raceWithoutReadyBoatsShowsTheCurrentSecond();
    void eventWithNoBoatToShowReportsAnEmptyList();
};
