#include "race/UtcTimeText.h"

#include <algorithm>

namespace {
// Civil date of a day number counted from 1970-01-01 (proleptic Gregorian calendar, in
// eras of 400 years, so that no table and no loop is needed).
void civilFromDays(qint64 days, qint64 *year, int *month, int *day)
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    *day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    *month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

char *put(char *out, qint64 value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + digits;
}
} // namespace

char *UtcTimeText::write(char *out, qint64 secondsSinceEpoch)
{
    qint64 days = secondsSinceEpoch / 86400;
    qint64 rest = secondsSinceEpoch % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    qint64 year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days, &year, &month, &day);
    year = std::clamp<qint64>(year, 0, 9999);
    out = put(out, year, 4);
    *out++ = '-';
    out = put(out, month, 2);
    *out++ = '-';
    out = put(out, day, 2);
    *out++ = 'T';
    out = put(out, rest / 3600, 2);
    *out++ = ':';
    out = put(out, rest / 60 % 60, 2);
    *out++ = ':';
    out = put(out, rest % 60, 2);
    *out++ = 'Z';
    return out;
}

QString UtcTimeText::format(qint64 secondsSinceEpoch)
{
    char text[length];
    write(text, secondsSinceEpoch);
    return QString::fromLatin1(text, length);
}
