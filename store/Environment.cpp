#include "store/Environment.h"

#include "store/AppIdentity.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString defaultTrackingServer = QStringLiteral("http://127.0.0.1:8380/");
const QString defaultTileServer = QStringLiteral("https://tile.openstreetmap.org");
const QString defaultDownloadServer = QStringLiteral("http://127.0.0.1:8380/");

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

Environment::Environment()
    : m_dataFolder(defaultDataFolder())
    , m_trackingServer(defaultTrackingServer)
    , m_tileServer(defaultTileServer)
    , m_downloadServer(defaultDownloadServer)
{
}

QString Environment::defaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/")
           + QLatin1String(dataFolderName);
}

QString Environment::mapsFolder() const
{
    return m_dataFolder + QStringLiteral("/maps");
}

QString Environment::databasePath() const
{
    if (!m_databasePath.isEmpty())
        return m_databasePath;
    return m_dataFolder + QStringLiteral("/") + QLatin1String(databaseFileName);
}

void Environment::readServerUrls(const QSettings &settings)
{
    m_trackingServer = urlSetting(settings, keyTrackingServer, defaultTrackingServer);
    m_tileServer = urlSetting(settings, keyTileServer, defaultTileServer);
    m_downloadServer = urlSetting(settings, keyDownloadServer, defaultDownloadServer);
}

QString Environment::trackingEndpoint(const QString &path) const
{
    return below(m_trackingServer, path);
}

QString Environment::downloadEndpoint(const QString &path) const
{
    return below(m_downloadServer, path);
}

std::unique_ptr<QSettings> Environment::settingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(AppIdentity::organizationDomain), QStringLiteral("Brisavela"));
}

std::unique_ptr<QSettings> Environment::machineStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                       QLatin1String(AppIdentity::organizationDomain));
}
