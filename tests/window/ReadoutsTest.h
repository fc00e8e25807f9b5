#pragma once

#include <QObject>

class ReadoutsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void boatAndGateReadoutsOnTheChart();
    void participantListTellsTheAgeOfTheLastReport();
    void oldPositionsAreFadedWithTheirAge();
};
