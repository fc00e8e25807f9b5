#pragma once

#include <QObject>

class SimulationTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameDefinitionSameRace();
    void fleetsAreShapedForTheViewer();
    void boatsSailTheWholeCourseOverWater_data();
    void boatsSailTheWholeCourseOverWater();
    void reportsComeEveryMinuteInsideTheWindow();
    void windTurnsAndBoatsTackUpwind();
    void liveRaceDependsOnlyOnItsStart();
};
