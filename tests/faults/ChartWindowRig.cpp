#include "tests/faults/ChartWindowRig.h"

#include <QTest>

ChartWindowRig::ChartWindowRig()
{
    // Set before the window is shown and its first fetch pass runs.
    rig.window->setLoadMaps(true);
}

void ChartWindowRig::start()
{
    rig.window->show();
    if (!QTest::qWaitForWindowExposed(rig.window.get()))
        qWarning("ChartWindowRig: the window was not exposed");
}

bool ChartWindowRig::settle(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !chart()->fetchPassRunning() && rig.window->pendingRequests() == 0; },
                           timeoutMs);
}

void ChartWindowRig::lookAgain()
{
    chart()->zoomBy(1);
    settle();
    chart()->zoomBy(-1);
}
