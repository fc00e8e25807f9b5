#pragma once

// Degrees with seven decimals (about a centimetre) in the plain decimal form GPX and KML
// take: no exponent, a point as separator, no locale.
namespace DecimalText {
// Room a value needs, with sign and the longest integer part a coordinate has.
constexpr int maxLength = 16;

// Writes the value at out (room for maxLength characters); returns the end.
char *writeDegrees(char *out, double value);
}
