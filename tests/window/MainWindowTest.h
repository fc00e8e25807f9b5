#pragma once

#include <QObject>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sidePanelStripOpensToHalfAndCloses();
    void statusLineTexts();
    void settingsPageAndMenuTexts();
    void preferencesRoundTripThroughTheDatabase();
    void missingPreferencesLeaveDefaults();
    void longFetchPeriodsAreCappedAtADay();
    void finishedRaceKeepsTheStoredAutoLoadChoice();
    void completeTracksStayWhenTheRaceIsChosenAgain();
    void followingAnotherBoatUnfollowsTheFirst();
    void clickOnHiddenBoatSelectsTheFollowedRowAgain();
    void switchingAFollowedBoatOffUnfollowsIt();
    void chartClickPicksBoatsWithinItsBox();
    void fetchButtonShowsTransferState();
    void fetchWithAutomaticLoadingOffLeavesTheTimerAlone();
    void racesAndGatesFillTheMenus();
};
