#include "tests/install/InstalledViewer.h"

#include "store/Environment.h"
#include "tests/support/RaceData.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <csignal>

namespace {
constexpr int eventId = 125;
constexpr int taskId = 279;
constexpr int von = 1712743200;
const QString closedPort = QStringLiteral("http://127.0.0.1:9/");

// Whether the process has its own handler for SIGTERM yet: before that, the signal
// would end it on the spot instead of closing its window.
bool catchesTerm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

QString assetLine(const QString &relative, const QString &dataFolder)
{
    return QStringLiteral("AssetLocator::assetPath, \"%1\" aus \"%2/%1\"").arg(relative, dataFolder);
}
} // namespace

QStringList InstalledViewer::files()
{
    QStringList list = {QStringLiteral("bin/brisavela"),
                        QStringLiteral("share/applications/org.brisavela.Brisavela.desktop"),
                        QStringLiteral("share/metainfo/org.brisavela.Brisavela.metainfo.xml"),
                        QStringLiteral("share/icons/hicolor/scalable/apps/brisavela.svg"),
                        QStringLiteral("share/icons/hicolor/48x48/apps/brisavela.png"),
                        QStringLiteral("share/icons/hicolor/128x128/apps/brisavela.png"),
                        QStringLiteral("share/icons/hicolor/256x256/apps/brisavela.png")};
    for (const QString &asset : assets())
        list << QStringLiteral("share/brisavela/") + asset;
    list.sort();
    return list;
}

QStringList InstalledViewer::assets()
{
    return {QStringLiteral("css/brisavela.qss"),    QStringLiteral("img/playbutton.png"),
            QStringLiteral("img/pausebutton.png"),  QStringLiteral("img/idleicon.png"),
            QStringLiteral("img/loadicon.png"),     QStringLiteral("img/idleicon_auto.png"),
            QStringLiteral("img/loadicon_auto.png"), QStringLiteral("sprites/shipstrip.png")};
}

bool InstalledViewer::prepareProfile()
{
    TestEnvironment::reset();
    QString made;
    {
        TestDatabase db;
        if (!db.isOpen())
            return false;
        using RaceData::Boat;
        RaceData::insertBoat(Boat{101, eventId, QStringLiteral("J/80"), QStringLiteral("10"), QStringLiteral("Bora")});
        RaceData::insertBoat(Boat{201, eventId, QStringLiteral("Melges"), QStringLiteral("7"), QStringLiteral("Maestral")});
        RaceData::insertTrack(101, eventId, RaceData::straight(42.70, 16.10, 0.0005, 0.0008, von, 60, 61));
        RaceData::insertTrack(201, eventId, RaceData::straight(42.72, 16.10, 0.0006, 0.0007, von, 60, 61));
        if (!SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadmaps=0, autoload=0, lookforupdate=0 WHERE id=1")}))
            return false;
        made = db.path();
    }
    const QString target = TestEnvironment::dataFolder() + QLatin1Char('/') + QLatin1String(Environment::databaseFileName);
    if (!QDir().mkpath(TestEnvironment::dataFolder() + QStringLiteral("/maps")) || !QFile::copy(made, target))
        return false;

    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    settings->setValue(QLatin1String(Environment::keyEventId), eventId);
    settings->setValue(QLatin1String(Environment::keyTaskId), taskId);
    settings->setValue(QLatin1String(Environment::keyTrackingServer), closedPort);
    settings->setValue(QLatin1String(Environment::keyDownloadServer), closedPort);
    settings->setValue(QLatin1String(Environment::keyTileServer), closedPort.chopped(1));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

InstalledViewer::Run InstalledViewer::run(const QString &executable, const QString &dataFolder)
{
    Run result;
    QProcess viewer;
    viewer.setWorkingDirectory(QStringLiteral("/"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    viewer.setProcessEnvironment(env);
    viewer.setProcessChannelMode(QProcess::MergedChannels);
    viewer.start(executable, {});
    if (!viewer.waitForStarted()) {
        result.failure = QStringLiteral("%1 did not start: %2").arg(executable, viewer.errorString());
        return result;
    }
    const QString folder = QFileInfo(dataFolder).canonicalFilePath();
    auto readAll = [&] {
        result.output += QString::fromUtf8(viewer.readAll());
        for (const QString &asset : assets()) {
            if (!result.output.contains(assetLine(asset, folder)))
                return false;
        }
        return true;
    };
    const bool read = QTest::qWaitFor([&] { return viewer.state() == QProcess::Running && readAll(); }, 60000);
    const bool endable = read && QTest::qWaitFor([&] { return catchesTerm(viewer.processId()); }, 20000);
    if (viewer.state() == QProcess::Running)
        viewer.terminate();
    const bool ended = viewer.waitForFinished(20000);
    result.output += QString::fromUtf8(viewer.readAll());
    if (!ended) {
        viewer.kill();
        viewer.waitForFinished();
        result.failure = QStringLiteral("the viewer did not end on SIGTERM");
    } else if (!read) {
        result.failure = QStringLiteral("not every asset was read from %1").arg(folder);
    } else if (!endable) {
        result.failure = QStringLiteral("the viewer never caught SIGTERM");
    } else if (viewer.exitStatus() != QProcess::NormalExit || viewer.exitCode() != 0) {
        result.failure = QStringLiteral("the viewer ended with status %1, code %2")
                             .arg(int(viewer.exitStatus()))
                             .arg(viewer.exitCode());
    } else if (result.output.contains(QStringLiteral("AssetLocator::assetPath, nicht gefunden"))) {
        result.failure = QStringLiteral("an asset was missing");
    } else if (!result.output.contains(QStringLiteral("Regatta::loadShipsDB, shipid =  101"))) {
        result.failure = QStringLiteral("the remembered race was not loaded");
    }
    return result;
}
