#pragma once

#include <QString>

struct ExportedBoat;

// The line a track file shows under a boat's name: "Nr. 12, Klasse J/80, Skipper …,
// Team …", leaving out what is not known.
namespace BoatDescription {
QString text(const ExportedBoat &boat);
}
