#pragma once

#include <QString>

// How long ago something was, as the chart and the readouts say it: "vor 40 s", "vor 12 min",
// "vor 2 h", "vor 3 Tagen". Whole units, rounded down, as a clock on the wall would say.
namespace AgeText {
QString since(qint64 seconds);
}
