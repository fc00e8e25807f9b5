#pragma once

#include <QObject>

class GeoTest : public QObject
{
    Q_OBJECT
private slots:
    void distanceAndBearingAgreeWithIndependentValues();
    void destinationFollowsMeridionalRadius();
    void midpointOnTheGreatCircle();
};
