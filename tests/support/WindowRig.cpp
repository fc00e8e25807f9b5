#include "tests/support/WindowRig.h"

#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "store/Environment.h"
#include "window/TrackingClient.h"

#include <QTest>

WindowRig::WindowRig(bool show)
{
    for (const QString &title : schemaBoxes->titles()) {
        if (title != QLatin1String("Initialisierung...") && title != QLatin1String("Update..."))
            QTest::qFail(qPrintable(QStringLiteral("unexpected message box \"%1\"").arg(title)), __FILE__, __LINE__);
    }
    schemaBoxes.reset();
    Environment::setTrackingServerUrl(tracking.baseUrl());
    Environment::setTileServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9")));
    window = std::make_unique<MainWindow>();
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
    regatta = std::make_unique<Regatta>(window.get(), eventId, taskId);
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

void storeFleet(int firstTime)
{
    using RaceData::Boat;
    RaceData::insertBoat(Boat{101, 125, QStringLiteral("J/80"), QStringLiteral("10"), QStringLiteral("Bora")});
    RaceData::insertBoat(Boat{102, 125, QStringLiteral("J/80"), QStringLiteral("2"), QStringLiteral("Jugo")});
    RaceData::insertBoat(Boat{201, 125, QStringLiteral("Melges"), QStringLiteral("7"), QStringLiteral("Maestral")});
    RaceData::insertBoat(Boat{202, 125, QStringLiteral("Melges"), QStringLiteral("8"), QStringLiteral("Tramontana")});
    const int ids[] = {101, 102, 201, 202};
    for (int i = 0; i < 4; ++i)
        RaceData::insertTrack(ids[i], 125, RaceData::straight(42.70 + 0.01 * i, 16.10, 0.0005, 0.0008, firstTime + 5 * i, 60, 61));
}
