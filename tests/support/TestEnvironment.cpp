#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <utility>

namespace {
QTemporaryDir *rootDir = nullptr;

QString sub(const char *name)
{
    return rootDir->path() + QLatin1Char('/') + QLatin1String(name);
}

void emptyFolder(const QString &path)
{
    QDir dir(path);
    dir.removeRecursively();
    QDir().mkpath(path);
}
} // namespace

void TestEnvironment::prepareProcess()
{
    if (rootDir)
        return;
    rootDir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/brisavela-test-XXXXXX"));
    for (const char *name : {"data", "config", "xdg", "tmp", "work", "runtime"})
        QDir().mkpath(sub(name));
    QFile::setPermissions(sub("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", sub("runtime").toLocal8Bit());
    qputenv("XDG_DATA_HOME", sub("data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", sub("config").toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", sub("xdg").toLocal8Bit());
    qputenv("TMPDIR", sub("tmp").toLocal8Bit());
    qputenv("HOME", sub("work").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The root folder goes when the process ends, whatever the tests did.
    std::atexit([] {
        delete rootDir;
        rootDir = nullptr;
    });
}

void TestEnvironment::reset()
{
    emptyFolder(dataHome());
    emptyFolder(configHome());
    emptyFolder(systemConfig());
    emptyFolder(tempFolder());
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brisavela.org"),
                       QStringLiteral("Brisavela"));
    settings.clear();
    // Nothing listens on the discard port: a test that forgets to start its own server
    // never reaches a demo server running on this machine.
    const QString nowhere = QStringLiteral("http://127.0.0.1:9/");
    settings.setValue(QStringLiteral("trackingServerUrl"), nowhere);
    settings.setValue(QStringLiteral("downloadServerUrl"), nowhere);
    settings.setValue(QStringLiteral("tileServerUrl"), QStringLiteral("http://127.0.0.1:9"));
    settings.sync();
}

QString TestEnvironment::root()
{
    return rootDir->path();
}

QString TestEnvironment::dataHome()
{
    return sub("data");
}

QString TestEnvironment::configHome()
{
    return sub("config");
}

QString TestEnvironment::systemConfig()
{
    return sub("xdg");
}

QString TestEnvironment::tempFolder()
{
    return sub("tmp");
}

QString TestEnvironment::dataFolder()
{
    return dataHome() + QStringLiteral("/Brisavela2023");
}

QString TestEnvironment::freshFolder(const QString &name)
{
    const QString path = sub("work") + QLatin1Char('/') + name;
    emptyFolder(path);
    return path;
}

QProcessEnvironment TestEnvironment::viewerProcess(const QString &root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, folder] : {std::pair{"XDG_DATA_HOME", "data"}, std::pair{"XDG_CONFIG_HOME", "config"},
                                       std::pair{"XDG_CONFIG_DIRS", "xdg"}, std::pair{"XDG_CACHE_HOME", "cache"},
                                       std::pair{"TMPDIR", "tmp"}}) {
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
        env.insert(QLatin1String(name), root + QLatin1Char('/') + QLatin1String(folder));
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}
