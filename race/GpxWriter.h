#pragma once

#include "race/ExportedRace.h"

class QIODevice;

// Writes a race's boats as GPX 1.1: one track per boat with its name, its description
// (number, class, skipper, team) and its class as the track's type; number, class and
// colour again as extension elements for programs that read them; one segment with every
// position and its time in UTC.
class GpxWriter
{
public:
    static constexpr char gpxNamespace[] = "http://www.topografix.com/GPX/1/1";
    static constexpr char boatNamespace[] = "https://brisavela.org/xmlschemas/GpxBoat/1";

    static ExportResult write(QIODevice &device, const ExportedRace &race, const ExportProgress &progress = {});
};
