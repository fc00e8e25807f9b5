#pragma once

#include <QtGlobal>

// What the chart view needs of the window it lives in. The window implements it; tests
// implement it with a recorder, so the chart is built and tested without a window.
class ChartOwner
{
public:
    virtual ~ChartOwner() = default;

    virtual void setXYStatus(int x, int y, qreal lat, qreal lng, int zoom) = 0;
    virtual void setZoomStatus(int zoom) = 0;
    virtual void advanceFrame(int step) = 0;
    // Once per tile request sent, once per tile reply handled.
    virtual void setNetLedOn() = 0;
    virtual void setNetLedOff() = 0;
    // A click (press and release without a drag) at a view pixel.
    virtual void toggleFollowAt(int x, int y) = 0;
    // Stops following the first followed boat.
    virtual void clearFollow() = 0;
    // Every boat of the race updates its chart position.
    virtual void refreshShipTracks() = 0;
    // Missing tiles are downloaded only while this is set.
    virtual bool loadMaps() const = 0;
    // The replay animation runs.
    virtual bool animating() const = 0;
};
