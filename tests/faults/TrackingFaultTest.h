#pragma once

#include <QObject>

// A tracking server that fails in every way it can: the viewer keeps running, keeps what it
// stored and shows, says what went wrong, and completes its data once the server is well.
class TrackingFaultTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void failedAnswersLeaveStoredDataAndRecover_data();
    void failedAnswersLeaveStoredDataAndRecover();
    void twoHundredThousandLinesForOneBoat();
};
