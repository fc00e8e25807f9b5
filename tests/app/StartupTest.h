#pragma once

#include "store/Clock.h"

#include <QObject>

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartCreatesFoldersAndPlacesWindow();
    void existingMapsFolderIsReportedAsFine();
    void machineSettingsMoveTheDatabase();
    void closingRemembersWindowAndRace();
    void silentUpdateCheckFollowsThePreference();
    void unusableDatabaseEndsBeforeAnyWindow_data();
    void unusableDatabaseEndsBeforeAnyWindow();
    void readOnlyDatabaseIsToldOnce();
    void killedFirstStartIsCreatedAgain();
    void interruptedCreationLeavesNothing();

private:
    Clock m_clock;
};
