#include "tests/updater/InstallTest.h"

#include "tests/support/FeedServerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "updater/InstallerCheck.h"
#include "updater/UpdateDownloadProgress.h"
#include "updater/UpdateWindow.h"
#include "updater/Updater.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <sodium.h>

namespace {
struct KeyPair
{
    QByteArray publicKey;
    QByteArray secretKey;
};

KeyPair makeKeys()
{
    unsigned char pk[crypto_sign_PUBLICKEYBYTES];
    unsigned char sk[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(pk, sk);
    return {QByteArray(reinterpret_cast<char *>(pk), sizeof pk), QByteArray(reinterpret_cast<char *>(sk), sizeof sk)};
}

QByteArray sign(const QByteArray &data, const QByteArray &secretKey)
{
    unsigned char sig[crypto_sign_BYTES];
    crypto_sign_detached(sig, nullptr, reinterpret_cast<const unsigned char *>(data.constData()), quint64(data.size()),
                         reinterpret_cast<const unsigned char *>(secretKey.constData()));
    return QByteArray(reinterpret_cast<char *>(sig), sizeof sig).toBase64();
}

// An installer that only leaves a mark that it ran.
QByteArray installerScript()
{
    return "#!/bin/sh\necho installed > \"$BRISAVELA_TEST_MARK\"\n";
}

struct Launches
{
    QStringList paths;
    QList<int> exits;
};

struct InstallRig
{
    InstallRig(const QString &attributes, const KeyPair &keys)
    {
        server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"), attributes)}));
        server.setResponse(QStringLiteral("/brisavela-setup.run"),
                           HttpResponse::ok(installerScript(), "application/octet-stream"));
        server.setResponse(QStringLiteral("/notes.html"), HttpResponse::ok("<p>Notes</p>", "text/html"));
        InstallerCheck::setPublicKey(keys.publicKey.toBase64());
        Updater *u = Updater::instance();
        u->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
        u->setLauncher([this](const QString &path) {
            launches.paths << path;
            permissions = QFileInfo(path).permissions();
            folderPermissions = QFileInfo(QFileInfo(path).path()).permissions();
            return QProcess::execute(path, {}) == 0;
        });
        u->setQuitter([this](int code) { launches.exits << code; });
    }

    bool offerAndInstall()
    {
        Updater *u = Updater::instance();
        if (!u->CheckForUpdatesSilent())
            return false;
        if (!QTest::qWaitFor([u] { return u->updateWindow() != nullptr; }, 3000))
            return false;
        QTest::mouseClick(u->updateWindow()->installButton(), Qt::LeftButton);
        return QTest::qWaitFor([u] { return u->network()->findChildren<QNetworkReply *>().isEmpty(); }, 3000);
    }

    FeedServerFixture server;
    Launches launches;
    QFileDevice::Permissions permissions;
    QFileDevice::Permissions folderPermissions;
};

QStringList downloadFolders()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("brisavela-update-*")}, QDir::Dirs);
}

int progressDialogs()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<UpdateDownloadProgress *>(w) && w->isVisible() ? 1 : 0;
    return n;
}
} // namespace

void InstallTest::init()
{
    TestEnvironment::reset();
    QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()).clear();
    Updater::instance()->clear();
    Updater::instance()->allowSkipVersion(false);
    Updater::instance()->allowRemindLater(true);
    qputenv("BRISAVELA_TEST_MARK", (TestEnvironment::tempFolder() + QStringLiteral("/../installed.mark")).toLocal8Bit());
    QFile::remove(QString::fromLocal8Bit(qgetenv("BRISAVELA_TEST_MARK")));
}

void InstallTest::cleanup()
{
    Updater::instance()->clear();
    Updater::instance()->setLauncher([](const QString &) { return false; });
    Updater::instance()->setQuitter([](int) {});
}

void InstallTest::signedInstallerIsStartedFromAPrivateFolder()
{
    const KeyPair keys = makeKeys();
    const QByteArray script = installerScript();
    InstallRig rig(QStringLiteral("sparkle:edSignature=\"%1\" length=\"%2\"")
                       .arg(QString::fromLatin1(sign(script, keys.secretKey)))
                       .arg(script.size()),
                   keys);
    MessageRecorder boxes;
    LogCapture log;
    QVERIFY(rig.offerAndInstall());

    QCOMPARE(rig.launches.paths.size(), 1);
    const QString path = rig.launches.paths.first();
    QVERIFY(path.startsWith(QDir::tempPath() + QStringLiteral("/brisavela-update-")));
    QVERIFY(path.endsWith(QStringLiteral("/brisavela-setup.run")));
    QCOMPARE(rig.permissions & (QFileDevice::ExeGroup | QFileDevice::ExeOther | QFileDevice::WriteGroup
                                | QFileDevice::WriteOther | QFileDevice::ReadOther),
             QFileDevice::Permissions());
    QVERIFY(rig.permissions & QFileDevice::ExeOwner);
    QCOMPARE(rig.folderPermissions & (QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
    QVERIFY(QFile::exists(QString::fromLocal8Bit(qgetenv("BRISAVELA_TEST_MARK"))));
    QCOMPARE(rig.launches.exits, QList<int>{0});
    QVERIFY(log.contains(QStringLiteral("Writing downloaded file into  \"%1\"").arg(path)));
    QVERIFY(log.contains(QStringLiteral("starting  \"%1\"").arg(path)));
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(!Updater::instance()->updateWindow());
    QVERIFY(QTest::qWaitFor([] { return progressDialogs() == 0; }, 1000));
}

void InstallTest::unverifiableInstallerIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("wrong signature") << "wrong signature";
    QTest::newRow("wrong length") << "wrong length";
    QTest::newRow("no signature") << "no signature";
    QTest::newRow("build without a key") << "no key";
}

void InstallTest::unverifiableInstallerIsRefused()
{
    QFETCH(QString, kind);
    const KeyPair keys = makeKeys();
    const QByteArray script = installerScript();
    QString attributes;
    if (kind == QLatin1String("wrong signature"))
        attributes = QStringLiteral("sparkle:edSignature=\"%1\"").arg(QString::fromLatin1(sign("other bytes", keys.secretKey)));
    else if (kind == QLatin1String("wrong length"))
        attributes = QStringLiteral("sparkle:edSignature=\"%1\" length=\"%2\"")
                         .arg(QString::fromLatin1(sign(script, keys.secretKey)))
                         .arg(script.size() + 1);
    else if (kind == QLatin1String("no key"))
        attributes = QStringLiteral("sparkle:edSignature=\"%1\"").arg(QString::fromLatin1(sign(script, keys.secretKey)));
    InstallRig rig(attributes, keys);
    if (kind == QLatin1String("no key"))
        InstallerCheck::setPublicKey(QByteArray());
    MessageRecorder boxes;
    QVERIFY(rig.offerAndInstall());

    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(rig.launches.exits.isEmpty());
    QVERIFY(!QFile::exists(QString::fromLocal8Bit(qgetenv("BRISAVELA_TEST_MARK"))));
    QVERIFY(downloadFolders().isEmpty());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().title, QStringLiteral("Brisavela Update"));
    QCOMPARE(boxes.shown().first().text,
             QStringLiteral("Das Update konnte nicht überprüft werden und wurde nicht installiert."));
    QVERIFY(!boxes.shown().first().informativeText.isEmpty());
}

void InstallTest::failedDownloadKeepsTheProgramRunning()
{
    const KeyPair keys = makeKeys();
    InstallRig rig(QString(), keys);
    rig.server.setResponse(QStringLiteral("/brisavela-setup.run"), HttpResponse::error(404));
    MessageRecorder boxes;
    LogCapture log;
    QVERIFY(rig.offerAndInstall());
    QVERIFY(log.contains(QStringLiteral("Download errors ocurred! HTTP Error Code: 404")));
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(rig.launches.exits.isEmpty());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(QTest::qWaitFor([] { return progressDialogs() == 0; }, 1000));
    QVERIFY(!Updater::instance()->updateWindow());
}
