#include "store/AssetLocator.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr char dataFolderName[] = "brisavela";
}

QString AssetLocator::installedDataFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/")
                           + QLatin1String(dataFolderName));
}

QString AssetLocator::assetPath(const QString &relative)
{
    if (QFileInfo::exists(relative))
        return relative;
    QString found = installedDataFolder() + QLatin1Char('/') + relative;
    if (!QFileInfo::exists(found)) {
        found = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                       QLatin1String(dataFolderName) + QLatin1Char('/') + relative);
    }
    if (found.isEmpty()) {
        qDebug() << "AssetLocator::assetPath, nicht gefunden:" << relative;
        return relative;
    }
    qDebug() << "AssetLocator::assetPath," << relative << "aus" << found;
    return found;
}
