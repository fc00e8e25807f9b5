#include "tests/support/WindowRig.h"

#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "store/Environment.h"
#include "window/TrackingClient.h"

#include <QTest>

WindowRig::WindowRig(bool show, const QUrl &tileServer)
{
    services.environment.setTrackingServerUrl(tracking.baseUrl());
    if (!tileServer.isEmpty())
        services.environment.setTileServerUrl(tileServer);
    window = std::make_unique<MainWindow>(services.services());
    window->setGeometry(50, 50, 738, 664);
    if (show) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("WindowRig: the window was not exposed");
    }
}

WindowRig::~WindowRig()
{
    regatta.reset();
    window.reset();
}

Regatta &WindowRig::start(int eventId, int taskId)
{
    regatta = std::make_unique<Regatta>(window.get(), eventId, taskId, services.services());
    return *regatta;
}

Ship *WindowRig::ship(int id) const
{
    for (Ship *s : regatta->ships()) {
        if (s->id() == id)
            return s;
    }
    return nullptr;
}

TreeShipItem *WindowRig::item(int shipId) const
{
    const Ship *s = ship(shipId);
    if (!s || !s->listIndex().isValid())
        return nullptr;
    return dynamic_cast<TreeShipItem *>(window->participantList()->model()->itemFromIndex(s->listIndex()));
}

bool WindowRig::settle(int timeoutMs)
{
    return QTest::qWaitFor(
        [this] {
            QCoreApplication::processEvents();
            const TrackingClient *client = window->trackingClient();
            return client->outstandingPositions() == 0 && !client->reloadPending() && window->pendingRequests() == 0;
        },
        timeoutMs);
}
