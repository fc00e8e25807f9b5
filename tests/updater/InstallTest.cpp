#include "tests/updater/InstallTest.h"

#include "tests/support/FeedServerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/updater/ScratchEnvironment.h"
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
        Updater::instance()->setPublicKey(keys.publicKey.toBase64());
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

    // An installer signed with keys, of the announced length.
    static QString signedAttributes(const KeyPair &keys)
    {
        const QByteArray script = installerScript();
        return QStringLiteral("sparkle:edSignature=\"%1\" length=\"%2\"")
            .arg(QString::fromLatin1(sign(script, keys.secretKey)))
            .arg(script.size());
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
    Updater::instance()->setMessagePresenter(&m_messages);
    Updater::instance()->allowSkipVersion(false);
    Updater::instance()->allowRemindLater(true);
    qputenv("BRISAVELA_TEST_MARK", (TestEnvironment::tempFolder() + QStringLiteral("/../installed.mark")).toLocal8Bit());
    QFile::remove(QString::fromLocal8Bit(qgetenv("BRISAVELA_TEST_MARK")));
}

void InstallTest::cleanup()
{
    Updater::instance()->clear();
    Updater::instance()->setLimits(TransferLimits());
    Updater::instance()->setLauncher([](const QString &) { return false; });
    Updater::instance()->setQuitter([](int) {});
    Updater::instance()->setMessagePresenter(nullptr);
    Updater::instance()->setPublicKey(InstallerCheck::builtInKey());
}

void InstallTest::signedInstallerIsStartedFromAPrivateFolder()
{
    const KeyPair keys = makeKeys();
    const QByteArray script = installerScript();
    InstallRig rig(QStringLiteral("sparkle:edSignature=\"%1\" length=\"%2\"")
                       .arg(QString::fromLatin1(sign(script, keys.secretKey)))
                       .arg(script.size()),
                   keys);
    MessageRecorder boxes(m_messages);
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
    const HttpRequest request = rig.server.server().requestsTo(QStringLiteral("/brisavela-setup.run")).first();
    QCOMPARE(request.header("Host"), rig.server.baseUrl().authority().toLatin1());
    QVERIFY2(!request.hasHeader("User-Agent"), request.header("User-Agent").constData());
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
    QTest::newRow("signature a byte short") << "short signature";
    QTest::newRow("signature a byte long") << "long signature";
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
    // The right signature with its last byte cut off, or with one byte too many.
    const QByteArray right = QByteArray::fromBase64(sign(script, keys.secretKey));
    if (kind == QLatin1String("short signature"))
        attributes = QStringLiteral("sparkle:edSignature=\"%1\"").arg(QString::fromLatin1(right.chopped(1).toBase64()));
    else if (kind == QLatin1String("long signature"))
        attributes = QStringLiteral("sparkle:edSignature=\"%1\"").arg(QString::fromLatin1((right + 'x').toBase64()));
    InstallRig rig(attributes, keys);
    MessageRecorder boxes(m_messages);
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
    if (kind.endsWith(QLatin1String("signature")) && kind != QLatin1String("wrong signature"))
        QVERIFY(boxes.shown().first().informativeText.contains(QStringLiteral("nennt keine gültige Signatur")));
}

void InstallTest::failedDownloadKeepsTheProgramRunning()
{
    const KeyPair keys = makeKeys();
    InstallRig rig(QString(), keys);
    rig.server.setResponse(QStringLiteral("/brisavela-setup.run"), HttpResponse::error(404));
    MessageRecorder boxes(m_messages);
    LogCapture log;
    QVERIFY(rig.offerAndInstall());
    QVERIFY(log.contains(QStringLiteral("Download errors ocurred! HTTP Error Code: 404")));
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(rig.launches.exits.isEmpty());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(QTest::qWaitFor([] { return progressDialogs() == 0; }, 1000));
    QVERIFY(!Updater::instance()->updateWindow());
}

void InstallTest::buildWithoutKeyDownloadsNothing()
{
    const KeyPair keys = makeKeys();
    InstallRig rig(InstallRig::signedAttributes(keys), keys);
    Updater::instance()->setPublicKey(QByteArray());
    MessageRecorder boxes(m_messages);
    QVERIFY(rig.offerAndInstall());

    QVERIFY(rig.server.server().requestsTo(QStringLiteral("/brisavela-setup.run")).isEmpty());
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(downloadFolders().isEmpty());
    QCOMPARE(progressDialogs(), 0);
    // The offer stays on screen: the user still learns of the new version and its notes.
    QVERIFY(Updater::instance()->updateWindow());
    QCOMPARE(boxes.shown().size(), 1);
    const MessageRequest &box = boxes.shown().first();
    QCOMPARE(box.title, QStringLiteral("Brisavela Update"));
    QCOMPARE(box.text, QStringLiteral("Diese Programmversion kann Updates nicht selbst installieren."));
    QVERIFY(box.informativeText.contains(QStringLiteral("2.25")));
    QVERIFY(box.informativeText.contains(rig.server.url(QStringLiteral("/brisavela-setup.run"))));
    QVERIFY(box.informativeText.contains(rig.server.url(QStringLiteral("/notes.html"))));
}

void InstallTest::folderThatCannotBeMadeRemovesNothing_data()
{
    QTest::addColumn<bool>("tmpdirIsAFile");
    QTest::newRow("TMPDIR is a file") << true;
    QTest::newRow("TMPDIR is missing") << false;
}

void InstallTest::folderThatCannotBeMadeRemovesNothing()
{
    QFETCH(bool, tmpdirIsAFile);
    ScratchWorkingDirectory cwd;
    QVERIFY(cwd.entered());
    const QString tmp = TestEnvironment::freshFolder(QStringLiteral("elsewhere")) + QStringLiteral("/tmp");
    if (tmpdirIsAFile) {
        QFile file(tmp);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const KeyPair keys = makeKeys();
    InstallRig rig(InstallRig::signedAttributes(keys), keys);
    MessageRecorder boxes(m_messages);
    {
        TemporaryTmpDir pointed(tmp);
        QVERIFY(rig.offerAndInstall());
    }
    QCOMPARE(cwd.missing(), QStringList());
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(rig.launches.exits.isEmpty());
    QCOMPARE(QDir::root().entryList({QStringLiteral("brisavela-update-*")}, QDir::Dirs), QStringList());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().title, QStringLiteral("Brisavela Update"));
    QCOMPARE(boxes.shown().first().text, QStringLiteral("Das Update konnte nicht installiert werden."));
    QVERIFY2(boxes.shown().first().informativeText.contains(tmp), qPrintable(boxes.shown().first().informativeText));
}

void InstallTest::unsafeFileNamesAreRefused_data()
{
    QTest::addColumn<QString>("installer");
    QTest::addColumn<bool>("redirected");
    QTest::newRow("encoded slashes") << "dl/..%2F..%2Fevil.run" << false;
    QTest::newRow("backslashes") << "dl/..\\..\\evil.run" << false;
    QTest::newRow("encoded dots") << "dl/%2E%2E" << false;
    QTest::newRow("zero byte") << "dl/setup%00.run" << false;
    QTest::newRow("no name") << "dl/" << false;
    QTest::newRow("name from a redirection") << "dl/..%2F..%2Fevil.run" << true;
}

void InstallTest::unsafeFileNamesAreRefused()
{
    QFETCH(QString, installer);
    QFETCH(bool, redirected);
    const KeyPair keys = makeKeys();
    InstallRig rig(InstallRig::signedAttributes(keys), keys);
    rig.server.setFallback(HttpResponse::ok(installerScript(), "application/octet-stream"));
    if (redirected) {
        rig.server.setResponse(QStringLiteral("/brisavela-setup.run"),
                               HttpResponse::redirect(QByteArray("/") + installer.toLatin1()));
    } else {
        rig.server.setFeed(FeedServerFixture::feed(
            {rig.server.item(QStringLiteral("2.25"), InstallRig::signedAttributes(keys), installer)}));
    }
    MessageRecorder boxes(m_messages);
    QVERIFY(rig.offerAndInstall());
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(downloadFolders().isEmpty());
    QVERIFY(!QFile::exists(TestEnvironment::root() + QStringLiteral("/evil.run")));
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().text, QStringLiteral("Das Update konnte nicht installiert werden."));
    QVERIFY2(boxes.shown().first().informativeText.contains(QStringLiteral("Dateiname")),
             qPrintable(boxes.shown().first().informativeText));
}

void InstallTest::installerDownloadsAreLimited_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("longer than announced") << "announced" << "the installer download is larger than 100 bytes";
    QTest::newRow("over the maximum") << "maximum" << "the installer download is larger than 65536 bytes";
    QTest::newRow("silent server") << "stall" << "the installer download sent no data for 300 ms";
    QTest::newRow("redirected to a file") << "file" << "refused";
}

void InstallTest::installerDownloadsAreLimited()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const KeyPair keys = makeKeys();
    const QByteArray script = installerScript();
    const QString signature = QStringLiteral("sparkle:edSignature=\"%1\"").arg(QString::fromLatin1(sign(script, keys.secretKey)));
    InstallRig rig(kind == QLatin1String("announced") ? signature + QStringLiteral(" length=\"100\"") : signature, keys);
    const QString installer = QStringLiteral("/brisavela-setup.run");
    TransferLimits limits;
    if (kind == QLatin1String("announced")) {
        rig.server.setResponse(installer, HttpResponse::endless(QByteArray(4096, '#')));
    } else if (kind == QLatin1String("maximum")) {
        limits.installerBytes = 64 * 1024;
        rig.server.setResponse(installer, HttpResponse::endless(QByteArray(4096, '#')));
    } else if (kind == QLatin1String("stall")) {
        limits.idleMs = 300;
        rig.server.setResponse(installer, HttpResponse::failing(HttpResponse::Fault::Stall));
    } else {
        const QString local = TestEnvironment::freshFolder(QStringLiteral("local")) + QStringLiteral("/setup.run");
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        rig.server.setResponse(installer, HttpResponse::redirect(QUrl::fromLocalFile(local).toEncoded()));
    }
    Updater::instance()->setLimits(limits);
    MessageRecorder boxes(m_messages);
    LogCapture log;
    QVERIFY(rig.offerAndInstall());
    QVERIFY(log.containsPart(QStringLiteral("Download errors ocurred! HTTP Error Code:")));
    QVERIFY2(log.containsPart(reason), qPrintable(log.texts().join(QLatin1Char('\n'))));
    QVERIFY(rig.launches.paths.isEmpty());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(downloadFolders().isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return rig.server.server().endlessStreams() == 0; }, 3000));
}
