#pragma once

#include <QImage>
#include <QRect>

#include <vector>

class QPainter;

// Where a mostly transparent picture holds anything, as one stretch of columns per band of
// rows, so that laying it over the chart blends those stretches only: a transparent pixel
// leaves what lies under it as it is, and blending it is work for nothing.
class PaintedBands
{
public:
    static constexpr int bandRows = 32;

    // Nothing painted: for a picture just cleared to transparent.
    void reset(const QImage &image);
    // Takes in what was drawn into the picture since the last call. Only what lies outside
    // the stretches already known is looked at, so this costs little once a picture is full.
    void scan(const QImage &image);
    // The stretches, in the picture's pixels, top down.
    std::vector<QRect> rects() const;
    // Draws the picture with its top left corner at the painter's origin, as
    // drawImage(0, 0, image) would; at a device pixel ratio other than 1 or under a
    // transform other than a whole-pixel shift it does just that.
    void drawOver(QPainter &painter, const QImage &image) const;

private:
    struct Band
    {
        int left;
        int right;
    };
    std::vector<Band> m_bands;
    int m_width = 0;
    int m_height = 0;
};
