#include "tests/updater/UpdaterTest.h"

#include "tests/support/FeedServerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "updater/AvailableUpdate.h"
#include "updater/UpdateDownloadProgress.h"
#include "updater/UpdateWindow.h"
#include "updater/Updater.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {
Updater *updater()
{
    return Updater::instance();
}

bool waitForFeedHandled()
{
    QTest::qWait(50);
    return QTest::qWaitFor([] { return updater()->network()->findChildren<QNetworkReply *>().isEmpty(); }, 3000);
}

QStringList errorTexts(const MessageRecorder &boxes)
{
    QStringList result;
    for (const MessageRequest &r : boxes.shown())
        result << r.informativeText;
    return result;
}
} // namespace

void UpdaterTest::init()
{
    TestEnvironment::reset();
    QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()).clear();
    updater()->clear();
    updater()->allowSkipVersion(false);
    updater()->allowRemindLater(true);
}

void UpdaterTest::cleanup()
{
    updater()->clear();
}

void UpdaterTest::newerVersionIsOfferedWithReleaseNotes()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    server.setResponse(QStringLiteral("/notes.html"),
                       HttpResponse::ok(QByteArray("<p>Neu: Gr\xf6\xdf" "ere Karten</p>") + '\0' + "junk", "text/html"));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));
    QVERIFY(waitForFeedHandled());

    const HttpRequest feed = server.server().requestsTo(QLatin1String(FeedServerFixture::feedPath)).first();
    QCOMPARE(feed.header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    QVERIFY(!server.server().requestsTo(QStringLiteral("/notes.html")).first().hasHeader("Track-Type"));

    const AvailableUpdate *offer = updater()->proposedUpdate();
    QVERIFY(offer);
    QCOMPARE(offer->enclosureVersion(), QStringLiteral("2.25"));
    QCOMPARE(offer->title(), QStringLiteral("Brisavela 2.25"));
    QCOMPARE(offer->enclosurePlatform(), QStringLiteral("Q_OS_LINUX"));
    QCOMPARE(offer->enclosureUrl(), QUrl(server.url(QStringLiteral("/brisavela-setup.run"))));

    UpdateWindow *window = updater()->updateWindow();
    QCOMPARE(window->objectName(), QStringLiteral("UpdateWindow"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Brisavela Update"));
    QCOMPARE(window->newVersionLabel()->text(), QStringLiteral("Brisavela 2.25 steht zum Download bereit."));
    QCOMPARE(window->installedVersionLabel()->text(), QStringLiteral("Sie haben die Version 2.24.0 installiert."));
    QVERIFY(window->isVisible());
    QVERIFY(window->isModal());
    // Latin-1 up to the first zero byte.
    QVERIFY(window->releaseNotesView()->toPlainText().contains(QStringLiteral("Neu: Größere Karten")));
    QVERIFY(!window->releaseNotesView()->toPlainText().contains(QStringLiteral("junk")));
    QVERIFY(boxes.shown().isEmpty());
}

void UpdaterTest::versionThatIsNotNewerIsReportedOnlyWhenAsked()
{
    FeedServerFixture server;
    // The first fitting item decides, even when a later one is newer.
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.24")), server.item(QStringLiteral("3.0"))}));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;
    LogCapture log;
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(waitForFeedHandled());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(!updater()->proposedUpdate());
    QVERIFY(log.contains(QStringLiteral("Version ' \"2.24\" ' is ignored, too old or something like that.")));

    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().icon, QMessageBox::Information);
    QCOMPARE(boxes.shown().first().text, QStringLiteral("Information"));
    QCOMPARE(boxes.shown().first().informativeText, QStringLiteral("No updates were found."));
    QVERIFY(!updater()->updateWindow());
}

void UpdaterTest::skippedVersionIsNotOffered()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    QSettings(QStringLiteral("q.u.a.r.l.o."), QStringLiteral("Brisavela2023"))
        .setValue(QStringLiteral("LatestSkippedVersion"), QStringLiteral("2.25"));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QVERIFY(!updater()->updateWindow());
    QCOMPARE(errorTexts(boxes), QStringList{QStringLiteral("No updates were found.")});
}

void UpdaterTest::feedWithoutFittingItemEndsSilently()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("3.0"), QString()).replace(
        QStringLiteral("Q_OS_LINUX"), QStringLiteral("Q_OS_WIN32"))}));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(!updater()->updateWindow());
}

void UpdaterTest::redirectsAreFollowedAndRemembered()
{
    FeedServerFixture server;
    server.setResponse(QStringLiteral("/old.xml"), HttpResponse::redirect("/new/feed.xml", 301));
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.26"))}), QStringLiteral("/new/feed.xml"));
    updater()->setFeedURL(server.url(QStringLiteral("/old.xml")));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));
    QCOMPARE(updater()->feedURL(), QUrl(server.url(QStringLiteral("/new/feed.xml"))));
    QCOMPARE(updater()->proposedUpdate()->enclosureVersion(), QStringLiteral("2.26"));
}

void UpdaterTest::redirectLoopEndsWithAReason()
{
    FeedServerFixture server;
    server.setResponse(QStringLiteral("/a.xml"), HttpResponse::redirect("/b.xml"));
    server.setResponse(QStringLiteral("/b.xml"), HttpResponse::redirect("/a.xml"));
    updater()->setFeedURL(server.url(QStringLiteral("/a.xml")));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([&] { return !boxes.shown().isEmpty(); }, 3000));
    QCOMPARE(boxes.shown().first().text, QStringLiteral("Error"));
    QVERIFY(boxes.shown().first().informativeText.startsWith(QStringLiteral("Feed download failed: more than 10 redirections")));
    QCOMPARE(server.server().requests().size(), 11);
}

void UpdaterTest::brokenFeedsAreReported()
{
    FeedServerFixture server;
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;

    server.setResponse(QLatin1String(FeedServerFixture::feedPath), HttpResponse::error(404));
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().icon, QMessageBox::Critical);
    QVERIFY(boxes.shown().first().informativeText.startsWith(QStringLiteral("Feed download failed: ")));

    boxes.clear();
    server.setFeed("<?xml version=\"1.0\"?>\n<rss>\n<channel>\n<item></channel>\n</rss>\n");
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QCOMPARE(errorTexts(boxes).size(), 1);
    QVERIFY(errorTexts(boxes).first().startsWith(QStringLiteral("Feed parsing failed: 4 ")));

    // A truncated document ends quietly; a silent check shows no box at all.
    boxes.clear();
    const QByteArray whole = FeedServerFixture::feed({server.item(QStringLiteral("2.25"))});
    server.setFeed(whole.left(whole.size() - 40));
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    server.setResponse(QLatin1String(FeedServerFixture::feedPath), HttpResponse::error(500));
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(waitForFeedHandled());
    QVERIFY(boxes.shown().isEmpty());
}

void UpdaterTest::itemErrorsAreReported()
{
    FeedServerFixture server;
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;
    const QString base = server.item(QStringLiteral("2.25"));
    const QStringList feeds = {
        QString(base).remove(QRegularExpression(QStringLiteral("<sparkle:releaseNotesLink>.*</sparkle:releaseNotesLink>"))),
        QString(base).replace(server.url(QStringLiteral("/notes.html")), QStringLiteral("ftp://example.invalid/notes")),
        QString(base).replace(QStringLiteral("sparkle:version=\"2.25\""), QString()),
    };
    for (const QString &item : feeds) {
        server.setFeed(FeedServerFixture::feed({item}).replace("<link>http://example.invalid/</link>", ""));
        QVERIFY(updater()->CheckForUpdatesNotSilent());
        QVERIFY(waitForFeedHandled());
    }
    QCOMPARE(errorTexts(boxes), (QStringList{QStringLiteral("Feed error: \"release notes\" link is empty"),
                                             QStringLiteral("Feed error: invalid \"release notes\" link"),
                                             QStringLiteral("Feed error: invalid \"enclosure\" with the download link")}));
    QVERIFY(!updater()->proposedUpdate());
}

void UpdaterTest::identityAndFeedAddressAreChecked()
{
    MessageRecorder boxes;
    LogCapture log;
    updater()->setFeedURL(QString());
    QVERIFY(!updater()->CheckForUpdatesSilent());
    QVERIFY(log.contains(QStringLiteral("Please set feed URL via setFeedURL() before calling CheckForUpdates().")));
    QCOMPARE(log.lines().last().type, QtCriticalMsg);

    updater()->setFeedURL(QStringLiteral("http://127.0.0.1:9/feed.xml"));
    QCoreApplication::setOrganizationDomain(QString());
    QVERIFY(!updater()->CheckForUpdatesSilent());
    QCoreApplication::setOrganizationDomain(QStringLiteral("brisavela.org"));
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QString());
    QVERIFY(!updater()->CheckForUpdatesNotSilent());
    QCoreApplication::setApplicationVersion(version);
    QCOMPARE(boxes.titles(), (QStringList{"Updater", "Updater"}));
    QCOMPARE(boxes.shown()[0].text, QStringLiteral("QApplication::organizationDomain is not set. Please do that."));
    QCOMPARE(boxes.shown()[1].text, QStringLiteral("QApplication::applicationVersion is not set. Please do that."));
    QCOMPARE(boxes.shown()[0].icon, QMessageBox::Critical);
}

void UpdaterTest::windowButtonsAndPostponing()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes;
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));
    UpdateWindow *window = updater()->updateWindow();
    QVERIFY(!window->skipButton()->isVisible());
    QVERIFY(window->remindButton()->isVisible());
    QVERIFY(window->installButton()->isVisible());
    QVERIFY(window->installButton()->isDefault());
    QCOMPARE(window->remindButton()->text(), QStringLiteral("später erinnern"));
    QCOMPARE(window->installButton()->text(), QStringLiteral("jetzt installieren"));

    // Later: nothing stored, the next check offers the same version.
    QPointer<UpdateWindow> first = window;
    QTest::mouseClick(window->remindButton(), Qt::LeftButton);
    QVERIFY(!updater()->updateWindow());
    QVERIFY(QTest::qWaitFor([&] { return first.isNull(); }, 1000));
    QVERIFY(waitForFeedHandled());
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));

    // Closing the window by its frame is the same as "later".
    updater()->updateWindow()->close();
    QVERIFY(!updater()->updateWindow());
    QVERIFY(waitForFeedHandled());
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));

    // Where skipping is allowed, skipping remembers the version.
    updater()->allowSkipVersion(true);
    updater()->showUpdateWindow();
    QVERIFY(updater()->updateWindow()->skipButton()->isVisible());
    QTest::mouseClick(updater()->updateWindow()->skipButton(), Qt::LeftButton);
    QCOMPARE(QSettings(QStringLiteral("q.u.a.r.l.o."), QStringLiteral("Brisavela2023"))
                 .value(QStringLiteral("LatestSkippedVersion"))
                 .toString(),
             QStringLiteral("2.25"));
    QVERIFY(!updater()->updateWindow());
    QVERIFY(boxes.shown().isEmpty());
}

void UpdaterTest::progressDialogFollowsTheDownload()
{
    UpdateDownloadProgress dialog;
    QCOMPARE(dialog.progress()->value(), 0);
    QCOMPARE(dialog.objectName(), QStringLiteral("UpdateDownloadProgress"));
    QCOMPARE(dialog.label()->text(), QStringLiteral("Downloading Update..."));
    dialog.downloadProgress(50, 200);
    QCOMPARE(dialog.progress()->value(), 25);
    dialog.downloadProgress(999, 1000);
    QCOMPARE(dialog.progress()->value(), 99);
    dialog.downloadProgress(10, 0);
    QCOMPARE(dialog.progress()->value(), 99);
    dialog.downloadProgress(10, -1);
    dialog.downloadProgress(300, 100);
    QCOMPARE(dialog.progress()->value(), 99);
    dialog.downloadProgress(100, 100);
    QCOMPARE(dialog.progress()->value(), 100);
}

void UpdaterTest::oldVersionFilesAreRemovedWithoutFollowingLinks()
{
    const QString root = TestEnvironment::freshFolder(QStringLiteral("tmpwalk"));
    const QString outside = TestEnvironment::freshFolder(QStringLiteral("outside"));
    auto touch = [](const QString &path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly);
    };
    QVERIFY(touch(root + QStringLiteral("/brisavela.exe.oldversion")));
    QVERIFY(touch(root + QStringLiteral("/deep/er/lib.so.oldversion")));
    QVERIFY(touch(root + QStringLiteral("/keep.txt")));
    QVERIFY(touch(root + QStringLiteral("/oldversion")));
    QVERIFY(touch(outside + QStringLiteral("/precious.oldversion")));
    QVERIFY(touch(outside + QStringLiteral("/target")));
    QVERIFY(QFile::link(outside, root + QStringLiteral("/linked-dir")));
    QVERIFY(QFile::link(outside + QStringLiteral("/target"), root + QStringLiteral("/link.oldversion")));

    updater()->removeOldVersionFiles(root);
    QVERIFY(!QFile::exists(root + QStringLiteral("/brisavela.exe.oldversion")));
    QVERIFY(!QFile::exists(root + QStringLiteral("/deep/er/lib.so.oldversion")));
    QVERIFY(QFile::exists(root + QStringLiteral("/keep.txt")));
    QVERIFY(QFile::exists(root + QStringLiteral("/oldversion")));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.oldversion")));
    QVERIFY(QFileInfo(root + QStringLiteral("/link.oldversion")).isSymLink());
    QVERIFY(QFile::exists(outside + QStringLiteral("/target")));

    // An empty folder means the temporary-files folder.
    QVERIFY(touch(QDir::tempPath() + QStringLiteral("/x/setup.oldversion")));
    updater()->removeOldVersionFiles(QString());
    QVERIFY(!QFile::exists(QDir::tempPath() + QStringLiteral("/x/setup.oldversion")));
}
