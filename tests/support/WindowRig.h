#pragma once

#include "race/Regatta.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SqlHelpers.h"
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
    explicit WindowRig(bool show = true);
    ~WindowRig();

    Regatta &start(int eventId = 125, int taskId = 279);
    Ship *ship(int id) const;
    TreeShipItem *item(int shipId) const;
    // Waits until no tracking request is outstanding and the placements have run.
    bool settle(int timeoutMs = 5000);

    TestDatabase db;
    TrackingServerFixture tracking;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Regatta> regatta;
};

// Four boats of event 125 in two classes, each with an hour of fixes a minute apart.
void storeFleet(int firstTime = 1712743200);
