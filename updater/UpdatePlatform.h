#pragma once

#include <QObject>

// Which platform's downloads fit this build.
class UpdatePlatform : public QObject
{
    Q_OBJECT
public:
    // The token the feed names this build's platform with.
    static QString token();
    static bool PlatformMatches(const QString &platform);
};
