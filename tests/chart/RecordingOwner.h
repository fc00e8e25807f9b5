#pragma once

#include "chart/ChartOwner.h"
#include "chart/TileSource.h"
#include "tests/support/TestEnvironment.h"

#include <QNetworkAccessManager>

#include <QList>
#include <QPoint>

#include <functional>

// Stands in for the main window: records every call the chart makes into its owner, and
// gives the chart tiles from the test's data folder and a server where nothing listens
// (until a test points it at one of its own).
class RecordingOwner : public ChartOwner
{
public:
    QNetworkAccessManager network;
    TileSource tiles{TestEnvironment::dataFolder() + QStringLiteral("/maps"), QUrl(QStringLiteral("http://127.0.0.1:9")),
                     &network};

    struct XYStatus
    {
        int x, y;
        qreal lat, lng;
        int zoom;
    };

    void setXYStatus(int x, int y, qreal lat, qreal lng, int zoom) override { xy.append({x, y, lat, lng, zoom}); }
    void setZoomStatus(int zoom) override { zooms.append(zoom); }
    void advanceFrame(int step) override { frames.append(step); }
    void setNetLedOn() override { ++ledOn; }
    void setNetLedOff() override { ++ledOff; }
    void toggleFollowAt(int x, int y) override { clicks.append(QPoint(x, y)); }
    void clearFollow() override { ++clearFollowCalls; }
    void refreshShipTracks() override
    {
        ++shipRefreshes;
        if (placeShips)
            placeShips();
    }
    bool loadMaps() const override { return loadMapsFlag; }
    bool animating() const override { return animatingFlag; }

    bool loadMapsFlag = true;
    bool animatingFlag = false;
    QList<XYStatus> xy;
    QList<int> zooms;
    QList<int> frames;
    int ledOn = 0;
    int ledOff = 0;
    QList<QPoint> clicks;
    int clearFollowCalls = 0;
    int shipRefreshes = 0;
    // What the window does on a ship refresh, for tests that put boats on the chart.
    std::function<void()> placeShips;
};
