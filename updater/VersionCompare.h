#pragma once

#include <QString>

// -1 when version a is older than b, +1 when it is newer, 0 when they are the same.
// Numbers compare by value, text parts alphabetically, and a text part ("b" in 1.0b1) is
// older than a number: 1.0b1 < 1.0 < 1.0.1.
int CompareVersionStrings(const QString &a, const QString &b);
