#pragma once

#include "race/Regatta.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestServices.h"
#include "tests/support/TrackingServerFixture.h"
#include "window/MainWindow.h"

#include <memory>
#include <optional>

class Ship;
class TreeShipItem;

// A real main window on a fresh database, its tracking server a local fixture. The race
// controller is created on demand, as start-up does after the window.
struct WindowRig
{
    // tileServer: where the window's chart loads its tiles from (by default nowhere).
    explicit WindowRig(bool show = true, const QUrl &tileServer = QUrl());
    ~WindowRig();

    Regatta &start(int eventId = 125, int taskId = 279);
    Ship *ship(int id) const;
    TreeShipItem *item(int shipId) const;
    // Waits until no tracking request is outstanding and the placements have run.
    bool settle(int timeoutMs = 5000);

    // The rig's own time, places and message boxes (which fail the test unless a
    // MessageRecorder made on services.messages expects them).
    TestServices services;
    Clock &clock = services.clock;
    TestDatabase db;
    TrackingServerFixture tracking;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Regatta> regatta;
};
