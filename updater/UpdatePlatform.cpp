#include "updater/UpdatePlatform.h"

QString UpdatePlatform::token()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("Q_OS_WIN32");
#else
    return QStringLiteral("Q_OS_LINUX");
#endif
}

bool UpdatePlatform::PlatformMatches(const QString &platform)
{
    const QString p = platform.toUpper().trimmed();
    return !p.isEmpty() && p == token();
}
