#include "chart/AgeText.h"

QString AgeText::since(qint64 seconds)
{
    const qint64 s = seconds < 0 ? 0 : seconds;
    if (s < 60)
        return QStringLiteral("vor %1 s").arg(s);
    if (s < 3600)
        return QStringLiteral("vor %1 min").arg(s / 60);
    if (s < 86400)
        return QStringLiteral("vor %1 h").arg(s / 3600);
    const qint64 days = s / 86400;
    return days == 1 ? QStringLiteral("vor 1 Tag") : QStringLiteral("vor %1 Tagen").arg(days);
}
