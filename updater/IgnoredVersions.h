#pragma once

#include <QObject>

// Which offered versions and downloads the program takes, and the version the user
// chose to skip.
class IgnoredVersions : public QObject
{
    Q_OBJECT
public:
    static constexpr char skippedKey[] = "LatestSkippedVersion";

    static void SkipVersion(const QString &version);
    // Only a strictly newer version that was not skipped is wanted.
    static bool VersionIsUnwanted(const QString &version);
    static bool ProgramTypeIsRight(const QString &programType);
    static bool MinPrevVersionIsMet(const QString &minPrevVersion);
};
