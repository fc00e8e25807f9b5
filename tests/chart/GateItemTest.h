#pragma once

#include <QObject>

class GateItemTest : public QObject
{
    Q_OBJECT
private slots:
    void derivesSecondEndAndAnchor();
    void colourAndBoundingRectangle();
    void paintsCirclesAndLine();
    void chartRefreshReprojectsGates();
};
