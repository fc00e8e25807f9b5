#pragma once

#include "chart/GeoPoint.h"

#include <QString>

#include <optional>

// The chart's centre and zoom per race, kept in the settings store under
// "raceViews/<event>-<task>/" as "lat", "lng" and "zoom", so that a race comes back as the
// user last looked at it.
namespace ViewMemory {

struct View
{
    GeoPoint centre;
    int zoom = 0;
};

QString groupFor(int eventId, int taskId);
void save(int eventId, int taskId, const View &view);
// Empty when nothing sound is stored for the race; the zoom is kept to minZoom..maxZoom.
std::optional<View> load(int eventId, int taskId, int minZoom, int maxZoom);

} // namespace ViewMemory
