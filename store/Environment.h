#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class QSettings;

// Process-wide locations and server addresses, decided once by start-up and read by
// the other parts afterwards.
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

    static QString dataFolder();
    static QString mapsFolder();
    static QString databasePath();
    static QUrl trackingServerUrl();
    static QUrl tileServerUrl();
    static QUrl downloadServerUrl();
    // An endpoint below the tracking or download server, e.g. "api/getBoats.php"; a base
    // given without its trailing slash still keeps its last path segment.
    static QString trackingEndpoint(const QString &path);
    static QString downloadEndpoint(const QString &path);

    // The per-user local application data folder + "/" + "Brisavela2023".
    static QString defaultDataFolder();
    static void setDataFolder(const QString &folder);
    static void setDatabasePath(const QString &path);

    // Reads the three server base URLs from the settings store, with their defaults.
    static void readServerUrls(const QSettings &settings);
    static void setTrackingServerUrl(const QUrl &url);
    static void setTileServerUrl(const QUrl &url);
    static void setDownloadServerUrl(const QUrl &url);

    // The per-user settings store (organization domain, application "Brisavela").
    static std::unique_ptr<QSettings> settingsStore();
    // The machine-wide store that may name the database folder.
    static std::unique_ptr<QSettings> machineStore();
};
