#include "store/Environment.h"

#include "store/AppIdentity.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString defaultTrackingServer = QStringLiteral("http://127.0.0.1:8380/");
const QString defaultTileServer = QStringLiteral("https://tile.openstreetmap.org");
const QString defaultDownloadServer = QStringLiteral("http://127.0.0.1:8380/");

struct Values
{
    QString dataFolder = Environment::defaultDataFolder();
    QString databasePath;
    QUrl trackingServer = QUrl(defaultTrackingServer);
    QUrl tileServer = QUrl(defaultTileServer);
    QUrl downloadServer = QUrl(defaultDownloadServer);
};

Values &values()
{
    static Values v;
    return v;
}

QString below(const QUrl &base, const QString &path)
{
    QString text = base.toString();
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    return text + path;
}

QUrl urlSetting(const QSettings &settings, const char *key, const QString &fallback)
{
    const QUrl url(settings.value(QLatin1String(key), fallback).toString());
    return url.isValid() && !url.isEmpty() ? url : QUrl(fallback);
}
} // namespace

QString Environment::defaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/") + QLatin1String(dataFolderName);
}

QString Environment::dataFolder()
{
    return values().dataFolder;
}

QString Environment::mapsFolder()
{
    return values().dataFolder + QStringLiteral("/maps");
}

QString Environment::databasePath()
{
    const Values &v = values();
    if (!v.databasePath.isEmpty())
        return v.databasePath;
    return v.dataFolder + QStringLiteral("/") + QLatin1String(databaseFileName);
}

QUrl Environment::trackingServerUrl()
{
    return values().trackingServer;
}

QUrl Environment::tileServerUrl()
{
    return values().tileServer;
}

QUrl Environment::downloadServerUrl()
{
    return values().downloadServer;
}

QString Environment::trackingEndpoint(const QString &path)
{
    return below(values().trackingServer, path);
}

QString Environment::downloadEndpoint(const QString &path)
{
    return below(values().downloadServer, path);
}

void Environment::setDataFolder(const QString &folder)
{
    values().dataFolder = folder;
}

void Environment::setDatabasePath(const QString &path)
{
    values().databasePath = path;
}

void Environment::readServerUrls(const QSettings &settings)
{
    Values &v = values();
    v.trackingServer = urlSetting(settings, keyTrackingServer, defaultTrackingServer);
    v.tileServer = urlSetting(settings, keyTileServer, defaultTileServer);
    v.downloadServer = urlSetting(settings, keyDownloadServer, defaultDownloadServer);
}

void Environment::setTrackingServerUrl(const QUrl &url)
{
    values().trackingServer = url;
}

void Environment::setTileServerUrl(const QUrl &url)
{
    values().tileServer = url;
}

void Environment::setDownloadServerUrl(const QUrl &url)
{
    values().downloadServer = url;
}

std::unique_ptr<QSettings> Environment::settingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(AppIdentity::organizationDomain),
                                       QStringLiteral("Brisavela"));
}

std::unique_ptr<QSettings> Environment::machineStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                       QLatin1String(AppIdentity::organizationDomain));
}
