#include "race/DecimalText.h"

#include <charconv>
#include <cmath>

char *DecimalText::writeDegrees(char *out, double value)
{
    // Only coordinates come here; anything else would not fit and is written as 0.
    if (!std::isfinite(value) || std::abs(value) >= 1000.0)
        value = 0.0;
    const std::to_chars_result r = std::to_chars(out, out + maxLength, value, std::chars_format::fixed, 7);
    return r.ptr;
}
