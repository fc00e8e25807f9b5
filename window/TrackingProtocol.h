#pragma once

#include "store/BoatRow.h"
#include "store/PositionRow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The tracking server's answer lines, parsed without widgets or SQL.
namespace TrackingProtocol {

// "lat;lng;tstamp;course;number"
using PositionLine = PositionRow;

// "klasse|id|-|startnr|name|team|skipper|-|first tstamp|race id"
using BoatLine = BoatRow;

enum class LineError { None, FieldCount, BadValue };

// A position with a latitude, longitude or time stamp that does not parse or is out of
// range is refused: stored, it would be a point at 0 N 0 E or a time of its own. A
// course that does not parse counts as 0.
std::optional<PositionLine> parsePosition(const QString &line, LineError *error = nullptr);
// The same for a line as the server sent it, without decoding it first.
std::optional<PositionLine> parsePosition(QByteArrayView line, LineError *error = nullptr);
// A boat whose id or race id does not parse is refused. Other numbers that do not parse
// count as 0.
std::optional<BoatLine> parseBoat(const QString &line, LineError *error = nullptr);

// Lines of a body, read up to its end; a last line without a line end counts, and a
// carriage return before a line end is dropped.
QStringList lines(const QString &body);
// The same lines of a body as it came, each a view into body.
std::vector<QByteArrayView> lines(QByteArrayView body);

inline constexpr int paletteSize = 15;
// Colour of the boat on line k of a boat list (after skipped lines are left out).
QString paletteColour(int k);

} // namespace TrackingProtocol
