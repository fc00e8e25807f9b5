#pragma once

#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "tests/chart/RecordingOwner.h"
#include "tests/support/TileServerFixture.h"

#include <memory>

// A chart in a shown window of a given size, talking to a local tile server. Nothing is
// requested before start(), so a test can set up the server and the chart first.
struct ChartRig
{
    explicit ChartRig(const QSize &size = QSize(256, 256), bool loadMaps = true, int zoom = 10,
                      const GeoPoint &centre = GeoPoint(42.986766, 15.8203125));

    // Shows the chart; the event loop then starts its first fetch pass.
    Karte &start();
    // Makes a fresh chart on the same scene, owner and server, and starts it.
    void rebuild(int zoom, const GeoPoint &centre);
    // Waits until the fetch pass has finished and every tile reply has been handled.
    bool settle(int timeoutMs = 5000);
    // Every tile of the layout plus the fetch pass's extra column and row.
    QList<QPoint> searchedTiles() const;

    TileServerFixture tiles;
    RecordingOwner owner;
    Scheme scene;
    std::unique_ptr<Karte> chart;
    QSize size;
};

bool sameImage(const QImage &a, const QImage &b);
// The chart as it paints itself, one image pixel per view pixel whatever the screen's
// device pixel ratio.
QImage viewPixels(Karte &chart);
// The disk cache of the test's data folder: a tile's file, and a tile put there.
QString cachedTilePath(int zoom, int x, int y);
bool cacheTile(int zoom, int x, int y, const QImage &image);
