#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

// The age written under a boat whose position is old: dark text on a light halo, readable on
// sea and land alike. Drawn once per text and device pixel ratio and kept, as the same few
// ages ("vor 2 h") stand under many boats and are drawn on every repaint.
namespace StaleTag {

// Where the tag lies relative to the boat's pixel, in view pixels.
QRectF rectAt(const QString &text, const QPointF &boatPixel);
// The tag for the text, at that device pixel ratio; rectAt's size in view pixels.
QImage image(const QString &text, qreal devicePixelRatio);

} // namespace StaleTag
