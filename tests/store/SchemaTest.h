#pragma once

#include <QObject>

class SchemaTest : public QObject
{
    Q_OBJECT
private slots:
    void newFileGetsCurrentSchemaAndSeededRaces();
    void version3RunsLaterStepsThenSeeds2024();
    void version10Without2024RacesGetsThemAfterLargestId();
    void currentOrNewerVersionIsLeftUntouched_data();
    void currentOrNewerVersionIsLeftUntouched();
    void versionTableWithoutRowZeroCountsAsVersion1();
    void emptyRegattaTableSeeds2024RacesFrom2024();
    void repeatedPositionsAreRemovedOnceBeforeTheIndex();
    void emptyFileIsCreatedAsNew();
    void fileWithoutTablesGetsOnlyPrefs();
    void fileThatIsNoDatabaseIsRefusedAndKept_data();
    void fileThatIsNoDatabaseIsRefusedAndKept();
};
