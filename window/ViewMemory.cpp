#include "window/ViewMemory.h"

#include "store/Environment.h"

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <memory>

QString ViewMemory::groupFor(int eventId, int taskId)
{
    return QStringLiteral("raceViews/%1-%2").arg(eventId).arg(taskId);
}

void ViewMemory::save(int eventId, int taskId, const View &view)
{
    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    settings->beginGroup(groupFor(eventId, taskId));
    settings->setValue(QStringLiteral("lat"), view.centre.lat);
    settings->setValue(QStringLiteral("lng"), view.centre.lng);
    settings->setValue(QStringLiteral("zoom"), view.zoom);
    settings->endGroup();
}

std::optional<ViewMemory::View> ViewMemory::load(int eventId, int taskId, int minZoom, int maxZoom)
{
    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    settings->beginGroup(groupFor(eventId, taskId));
    bool latOk = false, lngOk = false, zoomOk = false;
    const double lat = settings->value(QStringLiteral("lat")).toDouble(&latOk);
    const double lng = settings->value(QStringLiteral("lng")).toDouble(&lngOk);
    const int zoom = settings->value(QStringLiteral("zoom")).toInt(&zoomOk);
    settings->endGroup();
    if (!latOk || !lngOk || !zoomOk || !std::isfinite(lat) || !std::isfinite(lng) || std::abs(lat) >= 85.0
        || std::abs(lng) > 180.0)
        return std::nullopt;
    return View{GeoPoint(lat, lng), std::clamp(zoom, minZoom, maxZoom)};
}
