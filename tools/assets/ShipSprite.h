#pragma once

#include <QImage>

// The boat sprite: a 32 x 32 hull pointing north. Only its alpha matters to the program,
// which fills the silhouette with each boat's colour.
namespace ShipSprite {
// The sprite drawn side pixels square (the same drawing, scaled): 32 for the strip, larger
// for screens with more device pixels per view pixel.
QImage draw(int side = 32);
// 360 frames side by side; frame k is the sprite rotated k degrees clockwise.
QImage strip(const QImage &sprite);
}
