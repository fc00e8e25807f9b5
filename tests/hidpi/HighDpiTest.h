#pragma once

#include <QObject>

class HighDpiTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void boatsAreDrawnAtTheScreensPixelRatio();
    void framesAreTurnedToTheCourse();
};
