#pragma once

#include <QObject>

// The real viewer, killed while it stores a large answer of the tracking server: the file
// it leaves is sound, holds each position once and nothing half, and the next start
// completes the data.
class CrashSafetyTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void killedWhileStoringLosesNothingAndCompletesLater();
};
