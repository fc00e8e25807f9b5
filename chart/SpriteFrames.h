#pragma once

#include <QImage>

// Boat silhouettes for screens with more than one device pixel per view pixel. The strip's
// 32-pixel frames would be scaled up there and look soft; these are drawn from the large
// sprite ("sprites/ship_128.png") turned to the course, at the screen's own resolution, and
// kept once made. Without the large sprite the strip's frame is scaled up instead.
class SpriteFrames
{
public:
    static constexpr int viewSide = 32;
    static constexpr char largeSpritePath[] = "sprites/ship_128.png";

    // Device pixels along a side of a boat image at that ratio.
    static int pixelSide(qreal devicePixelRatio);
    // Frame k (the boat on course k degrees), pixelSide(dpr) square, with that device pixel
    // ratio; only its alpha matters.
    static QImage frame(const QImage &strip, int k, qreal devicePixelRatio);
};
