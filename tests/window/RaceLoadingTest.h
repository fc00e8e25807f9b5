#pragma once

#include <QObject>

// What the window shows of a race the model loads: the replay range, the boats at its end,
// the state of automatic loading, and the race menu's choice.
class RaceLoadingTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void finishedRaceGreysAutomaticLoading();
    void sliderRangeFollowsTheStoredPositions();
    void chosenRaceNamePrefixesLoadInListOrder();
};
