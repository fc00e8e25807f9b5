#pragma once

#include <QObject>

class ChartViewTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void showFleetFitsTheBoatsSwitchedOn();
    void showCourseFitsEveryGate();
    void raceOutOfViewIsBroughtIntoViewOnce();
    void raceWithoutPositionsIsShownWhenTheyArrive();
    void raceInViewIsLeftAsItIs();
    void courseInViewWithoutBoatsShowsTheFleetUnlessTheUserChoseIt();
    void viewIsRememberedPerRace();
};
