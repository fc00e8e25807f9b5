#include "race/BoatDescription.h"

#include "race/ExportedRace.h"

#include <QStringList>

QString BoatDescription::text(const ExportedBoat &boat)
{
    QStringList parts;
    // The labels of the participant list's columns.
    if (!boat.startnr.isEmpty())
        parts << QStringLiteral("Nr. ") + boat.startnr;
    if (!boat.klasse.isEmpty())
        parts << QStringLiteral("Klasse ") + boat.klasse;
    if (!boat.skipper.isEmpty())
        parts << QStringLiteral("Skipper ") + boat.skipper;
    if (!boat.team.isEmpty())
        parts << QStringLiteral("Team ") + boat.team;
    return parts.join(QStringLiteral(", "));
}
