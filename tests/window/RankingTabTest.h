#pragma once

#include <QObject>

// The "Rangliste" tab, its export and the speed colours of the tracks, in a real window
// on a stored race.
class RankingTabTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void tabListsTheSwitchedOnBoats();
    void tabFollowsTheReplayTimeInPlace();
    void clickOnARowFollowsTheBoat();
    void sortsStartNumbersAsNumbersAndRanksByClass();
    void exportWritesTheListedRanking();
    void exportTellsWhyItFailed();
    void speedColoursAreKeptAndShowTheirKey();
};
