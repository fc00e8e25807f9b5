#pragma once

#include "tests/e2e/StoredRaceCheck.h"

#include <QObject>
#include <QProcessEnvironment>

// The demo server and the viewer as real processes in a profile of their own.
class EndToEndTest : public QObject
{
    Q_OBJECT
private slots:
    void viewerStoresWhatTheServerServes();
    void checkerCatchesMissingAndRepeatedPositions();
};
