#pragma once

#include "race/ExportedRace.h"

class QIODevice;

// Writes a race's boats as KML 2.2: one placemark per boat with its name and description,
// a line style in the boat's colour, the number and class as extended data, and a
// gx:Track with a time for every position.
class KmlWriter
{
public:
    static constexpr char kmlNamespace[] = "http://www.opengis.net/kml/2.2";
    static constexpr char gxNamespace[] = "http://www.google.com/kml/ext/2.2";

    static ExportResult write(QIODevice &device, const ExportedRace &race, const ExportProgress &progress = {});

    // A colour as KML writes it: alpha, blue, green, red, two hex digits each.
    static QString kmlColour(const QColor &colour);
};
