#pragma once

#include "tools/coastline/Coastline.h"

#include <QImage>

// Draws 256-pixel Web-Mercator chart tiles (zoom/column/row as tile servers number them)
// from a coastline: sea with a lighter band along the shore, land, lakes, a dark shore
// line. Every tile draws the shapes that reach into it from its neighbours too, so
// adjacent tiles meet without a seam.
class ChartTileRenderer
{
public:
    static constexpr int tileSize = 256;
    static constexpr int minZoom = 0;
    static constexpr int maxZoom = 19;
    // Changes whenever the look changes, so cached tiles of an older look are not reused.
    static constexpr char styleVersion[] = "nautical-1";

    explicit ChartTileRenderer(const Coastline &coastline);

    // A null image for a tile that does not exist at that zoom.
    QImage render(int zoom, int x, int y) const;

    static bool isValidTile(int zoom, int x, int y);

private:
    const Coastline &m_coastline;
};
