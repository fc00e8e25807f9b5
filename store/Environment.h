#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class QSettings;

// Where the program keeps its files and which servers it talks to. Start-up decides these
// once and hands them to the parts that need them.
class Environment
{
public:
    // Keys of the per-user settings store.
    static constexpr char keyGeometry[] = "geomMainwindow";
    static constexpr char keySplitterOpen[] = "splitterOpen";
    static constexpr char keyEventId[] = "eventId";
    static constexpr char keyTaskId[] = "taskId";
    static constexpr char keyTrackingServer[] = "trackingServerUrl";
    static constexpr char keyTileServer[] = "tileServerUrl";
    static constexpr char keyDownloadServer[] = "downloadServerUrl";
    // Key of the machine-wide store naming a folder that holds the database.
    static constexpr char keyDatabaseFolder[] = "BRISAVELADB2024";

    static constexpr char dataFolderName[] = "Brisavela2023";
    static constexpr char databaseFileName[] = "brisavela2024.db";

    // The per-user data folder and the default servers.
    Environment();

    QString dataFolder() const { return m_dataFolder; }
    void setDataFolder(const QString &folder) { m_dataFolder = folder; }
    QString mapsFolder() const;
    // The data folder's database file unless another path was set.
    QString databasePath() const;
    void setDatabasePath(const QString &path) { m_databasePath = path; }

    QUrl trackingServerUrl() const { return m_trackingServer; }
    QUrl tileServerUrl() const { return m_tileServer; }
    QUrl downloadServerUrl() const { return m_downloadServer; }
    void setTrackingServerUrl(const QUrl &url) { m_trackingServer = url; }
    void setTileServerUrl(const QUrl &url) { m_tileServer = url; }
    void setDownloadServerUrl(const QUrl &url) { m_downloadServer = url; }
    // Reads the three server base URLs from a settings store, with their defaults.
    void readServerUrls(const QSettings &settings);

    // An endpoint below the tracking or download server, e.g. "api/getBoats.php"; a base
    // given without its trailing slash still keeps its last path segment.
    QString trackingEndpoint(const QString &path) const;
    QString downloadEndpoint(const QString &path) const;

    // The per-user local application data folder + "/" + "Brisavela2023".
    static QString defaultDataFolder();
    // The per-user settings store (organization domain, application "Brisavela").
    static std::unique_ptr<QSettings> settingsStore();
    // The machine-wide store that may name the database folder.
    static std::unique_ptr<QSettings> machineStore();

private:
    QString m_dataFolder;
    QString m_databasePath;
    QUrl m_trackingServer;
    QUrl m_tileServer;
    QUrl m_downloadServer;
};
