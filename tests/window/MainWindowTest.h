#pragma once

#include <QObject>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sidePanelStripOpensToHalfAndCloses();
    void statusLineTexts();
    void preferencesRoundTripThroughTheDatabase();
    void missingPreferencesLeaveDefaults();
    void followingAnotherBoatUnfollowsTheFirst();
    void switchingAFollowedBoatOffUnfollowsIt();
    void chartClickPicksBoatsWithinItsBox();
    void fetchButtonShowsTransferState();
    void racesAndGatesFillTheMenus();
};
