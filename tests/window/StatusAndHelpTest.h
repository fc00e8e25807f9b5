#pragma once

#include <QObject>

class StatusAndHelpTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void failedFetchesAreSaidWithTheTimeOfTheLastData();
    void helpListsTheKeysAndNamesVersionLicenceAndMapData();
};
