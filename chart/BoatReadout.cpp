#include "chart/BoatReadout.h"

#include "chart/AgeText.h"
#include "chart/GateItem.h"
#include "chart/GroundMotion.h"
#include "chart/Ship.h"
#include "chart/TrackLookup.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {
const QString unknown = QStringLiteral("–");

QString timeText(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}
} // namespace

QString BoatReadout::knots(double value)
{
    if (!std::isfinite(value))
        return unknown;
    return QStringLiteral("%1 kn").arg(QLocale(QLocale::German, QLocale::Germany).toString(value, 'f', 1));
}

QString BoatReadout::degrees(double value)
{
    if (!std::isfinite(value))
        return unknown;
    return QStringLiteral("%1°").arg(int(std::lround(value)) % 360);
}

QString BoatReadout::lastPosition(const Ship &ship, qint64 replayTime)
{
    const Track &track = ship.fullTrack();
    if (track.isEmpty())
        return QStringLiteral("Noch keine Position");
    const int last = TrackLookup::lastAtOrBefore(track, replayTime);
    if (last < 0)
        return QStringLiteral("Noch keine Position (erste %1)").arg(timeText(track.point(0).time));
    const qint64 when = track.point(last).time;
    return QStringLiteral("Letzte Position: %1 (%2)").arg(timeText(when), AgeText::since(replayTime - when));
}

QString BoatReadout::ofShip(const Ship &ship, qint64 replayTime)
{
    QStringList lines;
    lines << (ship.startnr().isEmpty() ? ship.name() : QStringLiteral("Nr. %1 – %2").arg(ship.startnr(), ship.name()));
    if (!ship.klasse().isEmpty())
        lines << QStringLiteral("Klasse: %1").arg(ship.klasse());
    if (!ship.team().isEmpty())
        lines << QStringLiteral("Team: %1").arg(ship.team());
    if (!ship.skipper().isEmpty())
        lines << QStringLiteral("Skipper: %1").arg(ship.skipper());
    const GroundMotion motion = GroundMotion::around(ship.fullTrack(), double(replayTime));
    lines << QStringLiteral("Fahrt: %1   Kurs: %2").arg(knots(motion.speedKnots), degrees(motion.courseDegrees));
    lines << lastPosition(ship, replayTime);
    return lines.join(QLatin1Char('\n'));
}

QString BoatReadout::ofGate(const GateItem &gate)
{
    return gate.name();
}
