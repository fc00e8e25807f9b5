#pragma once

#include <QObject>

class GateCatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void selectionByEventAndTask_data();
    void selectionByEventAndTask();
    void setsHaveTheirGatesInOrder();
    void everyGateHasItsValues_data();
    void everyGateHasItsValues();
    void computedAndGivenSecondEnds();
};
