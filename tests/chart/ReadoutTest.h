#pragma once

#include <QObject>

class ReadoutTest : public QObject
{
    Q_OBJECT
private slots:
    void lastPositionAtOrBeforeATime();
    void speedAndCourseOverTheMinuteAroundTheTime();
    void jitterDoesNotAddSpeed();
    void agesInWholeUnits();
    void boatReadoutNamesTheBoatAndItsMotion();
    void staleBoatIsFadedWithItsAgeInsideItsRectangle();
};
