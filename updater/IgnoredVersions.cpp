#include "updater/IgnoredVersions.h"

#include "updater/VersionCompare.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

void IgnoredVersions::SkipVersion(const QString &version)
{
    if (version == QCoreApplication::applicationVersion() || version.isEmpty())
        return;
    QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    settings.setValue(QLatin1String(skippedKey), version);
}

bool IgnoredVersions::VersionIsUnwanted(const QString &version)
{
    const QString current = QCoreApplication::applicationVersion();
    if (version == current)
        return true;
    const QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    if (settings.contains(QLatin1String(skippedKey))
        && settings.value(QLatin1String(skippedKey)).toString() == version)
        return true;
    return CompareVersionStrings(current, version) != -1;
}

bool IgnoredVersions::ProgramTypeIsRight(const QString &programType)
{
    qDebug() << "IgnoredVersions::ProgramTypeIsRight(" << programType << ")";
    if (programType == QLatin1String("FULL"))
        return true;
    qDebug() << " Falscher Download fuer diesen Programmtyp, angeboten wurde " << programType;
    return false;
}

bool IgnoredVersions::MinPrevVersionIsMet(const QString &minPrevVersion)
{
    const QString current = QCoreApplication::applicationVersion();
    if (minPrevVersion == current)
        return true;
    if (CompareVersionStrings(current, minPrevVersion) == -1) {
        qDebug() << "   die Programmversion " << current << " ist zu niedrig, vor Installation der DLL ("
                 << minPrevVersion << ") eine neuere suchen!";
        return false;
    }
    qDebug() << "   die Programmversion " << current << " ist zu hoch, die DLL (" << minPrevVersion
             << ") muss nicht installiert werden.";
    return true;
}
