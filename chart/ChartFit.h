#pragma once

#include "chart/GeoPoint.h"

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

// Where to put the chart so that a set of places is in view: the centre of their extent and
// the largest zoom at which all of them lie inside the view, a margin clear of its edges.
// Tested with the chart's own projection, so "fits" means what the chart will draw.
namespace ChartFit {

inline constexpr int marginPixels = 40;

struct View
{
    GeoPoint centre;
    int zoom = 0;
};

// Empty without places or for an empty view. When the places do not fit even at minZoom,
// minZoom with the same centre.
std::optional<View> fit(const QList<GeoPoint> &places, const QSize &view, int minZoom, int maxZoom,
                        int margin = marginPixels);

// Whether any of the view pixels lies inside a view of that size.
bool anyInside(const QList<QPoint> &pixels, const QSize &view);

} // namespace ChartFit
