#pragma once

#include "chart/Karte.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TileServerFixture.h"
#include "tests/support/WindowRig.h"

// A main window whose chart loads its tiles from a local tile server, downloads on. Nothing
// is requested before start(), so a test can set up the server first.
struct ChartWindowRig
{
    ChartWindowRig();

    void start();
    Karte *chart() const { return rig.window->chart(); }
    // Waits until the chart's fetch pass has ended and every tile reply has been handled.
    bool settle(int timeoutMs = 10000);
    // Zooms in and back out: the tiles of the view are looked for again, on disk first.
    void lookAgain();

    static constexpr int zoom = 10;
    // The tile the window's first view is centred in.
    static inline const QPoint centreTile{557, 376};
    static QString centrePath() { return TileServerFixture::path(zoom, centreTile.x(), centreTile.y()); }
    static QString cacheFile(const QPoint &tile = centreTile)
    {
        return TestEnvironment::dataFolder() + QStringLiteral("/maps/%1/%2/%3.png").arg(zoom).arg(tile.x()).arg(tile.y());
    }

    TileServerFixture tiles;
    WindowRig rig{false, tiles.baseUrl()};
};
