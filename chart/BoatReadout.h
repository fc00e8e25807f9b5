#pragma once

#include <QString>

class GateItem;
class Ship;

// The texts a pointer resting on the chart shows: who a boat is and how it sails at the
// replay time, and which gate a line is.
namespace BoatReadout {

// Start number and name, class, team, skipper, speed and course over ground around the
// replay time, and the time and age of the last position known then.
QString ofShip(const Ship &ship, qint64 replayTime);
// The line about the last position alone: its time and age at the replay time.
QString lastPosition(const Ship &ship, qint64 replayTime);
QString ofGate(const GateItem &gate);

// Numbers as the readouts write them: German decimal comma, unit after a space.
QString knots(double value);
QString degrees(double value);

} // namespace BoatReadout
