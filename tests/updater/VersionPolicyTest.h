#pragma once

#include <QObject>

class VersionPolicyTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void compareVersionStrings_data();
    void compareVersionStrings();
    void onlyStrictlyNewerVersionsAreWanted();
    void skippedVersionIsRemembered();
    void platformProgramTypeAndMinimumVersion();
};
