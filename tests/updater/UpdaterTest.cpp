#include "tests/updater/UpdaterTest.h"

#include "tests/support/FeedServerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/updater/ScratchEnvironment.h"
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
    updater()->setMessagePresenter(&m_messages);
    updater()->allowSkipVersion(false);
    updater()->allowRemindLater(true);
}

void UpdaterTest::cleanup()
{
    updater()->clear();
    updater()->setLimits(TransferLimits());
    updater()->setMessagePresenter(nullptr);
}

void UpdaterTest::newerVersionIsOfferedWithReleaseNotes()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    server.setResponse(QStringLiteral("/notes.html"),
                       HttpResponse::ok(QByteArray("<p>Neu: Gr\xf6\xdf" "ere Karten</p>") + '\0' + "junk", "text/html"));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes(m_messages);
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 3000));
    QVERIFY(waitForFeedHandled());

    // The feed names the program; the release notes are asked for without any User-Agent.
    const HttpRequest feed = server.server().requestsTo(QLatin1String(FeedServerFixture::feedPath)).first();
    QCOMPARE(feed.header("User-Agent"), QByteArray("Brisavela_2.24.0"));
    const HttpRequest notes = server.server().requestsTo(QStringLiteral("/notes.html")).first();
    QCOMPARE(notes.header("Host"), server.baseUrl().authority().toLatin1());
    QVERIFY2(!notes.hasHeader("User-Agent"), notes.header("User-Agent").constData());

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
    MessageRecorder boxes(m_messages);
    LogCapture log;
    QVERIFY(updater()->CheckForUpdatesSilent());
    QVERIFY(waitForFeedHandled());
    QVERIFY(boxes.shown().isEmpty());
    QVERIFY(!updater()->proposedUpdate());
    QVERIFY(log.contains(QStringLiteral("Version ' \"2.24\" ' is ignored, too old or something like that.")));

    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Information);
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
    MessageRecorder boxes(m_messages);
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
    MessageRecorder boxes(m_messages);
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
    MessageRecorder boxes(m_messages);
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
    MessageRecorder boxes(m_messages);
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
    MessageRecorder boxes(m_messages);

    server.setResponse(QLatin1String(FeedServerFixture::feedPath), HttpResponse::error(404));
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(waitForFeedHandled());
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Critical);
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
    MessageRecorder boxes(m_messages);
    const QString base = server.item(QStringLiteral("2.25"));
    const QStringList feeds = {
        QString(base).remove(QRegularExpression(QStringLiteral("<sparkle:releaseNotesLink>.*</sparkle:releaseNotesLink>"))),
        QString(base).replace(server.url(QStringLiteral("/notes.html")), QStringLiteral("ftp://example.invalid/notes")),
        QString(base).replace(QStringLiteral("sparkle:version=\"2.25\""), QString()),
        // A download link must be fetched over HTTP too, not read from this machine.
        QString(base).replace(server.url(QStringLiteral("/brisavela-setup.run")), QStringLiteral("file:///etc/hostname")),
    };
    for (const QString &item : feeds) {
        server.setFeed(FeedServerFixture::feed({item}).replace("<link>http://example.invalid/</link>", ""));
        QVERIFY(updater()->CheckForUpdatesNotSilent());
        QVERIFY(waitForFeedHandled());
    }
    QCOMPARE(errorTexts(boxes), (QStringList{QStringLiteral("Feed error: \"release notes\" link is empty"),
                                             QStringLiteral("Feed error: invalid \"release notes\" link"),
                                             QStringLiteral("Feed error: invalid \"enclosure\" with the download link"),
                                             QStringLiteral("Feed error: invalid \"enclosure\" with the download link")}));
    QVERIFY(!updater()->proposedUpdate());
}

void UpdaterTest::identityAndFeedAddressAreChecked()
{
    MessageRecorder boxes(m_messages);
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
    QCOMPARE(boxes.shown()[0].icon, MessagePresenter::Icon::Critical);
}

void UpdaterTest::windowButtonsAndPostponing()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes(m_messages);
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

void UpdaterTest::hostileFeedsEndTheCheck_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failure");
    QTest::newRow("endless") << "endless" << "the feed download is larger than 1048576 bytes";
    QTest::newRow("announced too long") << "too long" << "the feed download is larger than 1048576 bytes";
    QTest::newRow("silent server") << "stall" << "the feed download sent no data for 300 ms";
    QTest::newRow("trickling") << "trickle" << "the feed download took longer than 800 ms";
}

void UpdaterTest::hostileFeedsEndTheCheck()
{
    QFETCH(QString, kind);
    QFETCH(QString, failure);
    FeedServerFixture server;
    TransferLimits limits;
    const QString path = QLatin1String(FeedServerFixture::feedPath);
    if (kind == QLatin1String("endless")) {
        server.setResponse(path, HttpResponse::endless("<item>" + QByteArray(64 * 1024, ' ')));
    } else if (kind == QLatin1String("too long")) {
        server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}) + QByteArray(2 * 1024 * 1024, ' '));
    } else if (kind == QLatin1String("stall")) {
        server.setResponse(path, HttpResponse::failing(HttpResponse::Fault::Stall));
        limits.idleMs = 300;
    } else {
        // Never quiet for long, never done.
        server.setResponse(path, HttpResponse::endless(" ", 50));
        limits.idleMs = 5000;
        limits.documentMs = 800;
    }
    updater()->setLimits(limits);
    updater()->setFeedURL(server.url(path));
    MessageRecorder boxes(m_messages);
    LogCapture log;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    const bool ended = QTest::qWaitFor([&] { return !boxes.shown().isEmpty(); }, 10000);
    updater()->setLimits(TransferLimits());
    QVERIFY(ended);
    QCOMPARE(errorTexts(boxes), QStringList{QStringLiteral("Feed download failed: %1.").arg(failure)});
    QVERIFY(log.containsPart(failure));
    QVERIFY(!updater()->proposedUpdate());
    QVERIFY(waitForFeedHandled());
    // The program hung up; an endless answer is no longer being sent.
    QVERIFY(QTest::qWaitFor([&] { return server.server().endlessStreams() == 0; }, 3000));
    QVERIFY(server.server().endlessBytes() < 64 * 1024 * 1024);
}

void UpdaterTest::hostileFeedEndsTheCheckAndTheNextOneOffers_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failure");
    QTest::newRow("redirect loop") << "loop" << "Feed download failed: more than 10 redirections, the last to ";
    QTest::newRow("endless document") << "endless" << "Feed download failed: the feed download is larger than ";
    QTest::newRow("entity expansion")
        << "entities" << "Feed parsing failed: 20 Entity expands to more characters than the entity expansion limit..";
}

void UpdaterTest::hostileFeedEndsTheCheckAndTheNextOneOffers()
{
    QFETCH(QString, kind);
    QFETCH(QString, failure);
    FeedServerFixture server;
    const QString path = QLatin1String(FeedServerFixture::feedPath);
    const QByteArray good = FeedServerFixture::feed({server.item(QStringLiteral("2.25"))});
    if (kind == QLatin1String("loop")) {
        server.setResponse(path, HttpResponse::redirect("/b.xml"));
        server.setResponse(QStringLiteral("/b.xml"), HttpResponse::redirect(path.toLatin1()));
    } else if (kind == QLatin1String("endless")) {
        server.setResponse(path, HttpResponse::endless("<item>" + QByteArray(64 * 1024, ' ')));
    } else {
        // A billion "lol"s from a few hundred bytes, inside an item that would otherwise fit.
        QByteArray entities = "<!ENTITY lol0 \"lol\">\n";
        for (int i = 1; i <= 9; ++i) {
            entities += "<!ENTITY lol" + QByteArray::number(i) + " \"";
            for (int j = 0; j < 10; ++j)
                entities += "&lol" + QByteArray::number(i - 1) + ';';
            entities += "\">\n";
        }
        QByteArray bomb = QByteArray(good).replace("<title>Brisavela 2.25</title>", "<title>&lol9;</title>");
        bomb.replace("<rss ", "<!DOCTYPE rss [\n" + entities + "]>\n<rss ");
        server.setFeed(bomb);
    }
    updater()->setFeedURL(server.url(path));
    MessageRecorder boxes(m_messages);
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([&] { return !boxes.shown().isEmpty(); }, 10000));
    QVERIFY(waitForFeedHandled());
    QCOMPARE(boxes.shown().size(), 1);
    QVERIFY2(boxes.shown().first().informativeText.startsWith(failure), qPrintable(boxes.shown().first().informativeText));
    QVERIFY(!updater()->proposedUpdate());
    QVERIFY(!updater()->updateWindow());

    // The server is mended: the next check offers the update.
    server.setFeed(good);
    server.setFeed(good, QStringLiteral("/b.xml"));
    boxes.clear();
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([] { return updater()->updateWindow() != nullptr; }, 5000));
    QVERIFY(updater()->proposedUpdate());
    QCOMPARE(updater()->proposedUpdate()->enclosureVersion(), QStringLiteral("2.25"));
    QVERIFY(boxes.shown().isEmpty());
}

void UpdaterTest::releaseNotesAreLimited()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    server.setResponse(QStringLiteral("/notes.html"), HttpResponse::endless("<p>" + QByteArray(64 * 1024, 'x')));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    MessageRecorder boxes(m_messages);
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([&] { return !boxes.shown().isEmpty(); }, 10000));
    QCOMPARE(errorTexts(boxes),
             QStringList{QStringLiteral("RelNotes download failed: the release notes download is larger than 1048576 bytes.")});
    QVERIFY(updater()->updateWindow());
    QVERIFY(updater()->updateWindow()->releaseNotesView()->toPlainText().isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return server.server().endlessStreams() == 0; }, 3000));
}

void UpdaterTest::redirectsStayOnHttp()
{
    FeedServerFixture server;
    const QString local = TestEnvironment::freshFolder(QStringLiteral("local"));
    QFile feed(local + QStringLiteral("/feed.xml"));
    QVERIFY(feed.open(QIODevice::WriteOnly));
    feed.write(FeedServerFixture::feed({server.item(QStringLiteral("9.0"))}));
    feed.close();
    QFile notes(local + QStringLiteral("/notes.html"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("<p>LOCAL SECRET</p>");
    notes.close();
    const QByteArray fileFeed = QUrl::fromLocalFile(feed.fileName()).toEncoded();

    // A feed that sends the program to a file on this machine.
    server.setResponse(QStringLiteral("/feed.xml"), HttpResponse::redirect(fileFeed));
    updater()->setFeedURL(server.url(QStringLiteral("/feed.xml")));
    MessageRecorder boxes(m_messages);
    LogCapture log;
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([&] { return !boxes.shown().isEmpty() || updater()->updateWindow(); }, 3000));
    QVERIFY(!updater()->proposedUpdate());
    QCOMPARE(errorTexts(boxes), QStringList{QStringLiteral("Feed download failed: redirection to %1 refused, only http "
                                                           "and https are followed.")
                                                .arg(QString::fromLatin1(fileFeed))});
    QCOMPARE(updater()->feedURL(), QUrl(server.url(QStringLiteral("/feed.xml"))));
    QVERIFY(log.containsPart(QString::fromLatin1(fileFeed)));

    // Release notes that do the same are not shown.
    boxes.clear();
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.25"))}));
    server.setResponse(QStringLiteral("/notes.html"), HttpResponse::redirect(QUrl::fromLocalFile(notes.fileName()).toEncoded()));
    updater()->setFeedURL(server.url(QLatin1String(FeedServerFixture::feedPath)));
    QVERIFY(updater()->CheckForUpdatesNotSilent());
    QVERIFY(QTest::qWaitFor([&] { return !boxes.shown().isEmpty(); }, 3000));
    QVERIFY(errorTexts(boxes).first().startsWith(QStringLiteral("RelNotes download failed: ")));
    QVERIFY(updater()->updateWindow());
    QVERIFY(!updater()->updateWindow()->releaseNotesView()->toPlainText().contains(QStringLiteral("SECRET")));
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
    QVERIFY(touch(root + QStringLiteral("/brisavela-update-a1/setup.run.oldversion")));
    QVERIFY(touch(root + QStringLiteral("/brisavela-update-a1/lib/x.so.oldversion")));
    QVERIFY(touch(root + QStringLiteral("/keep.txt")));
    QVERIFY(touch(root + QStringLiteral("/oldversion")));
    // Other programs' folders are not where this program leaves files.
    QVERIFY(touch(root + QStringLiteral("/deep/er/lib.so.oldversion")));
    QVERIFY(touch(outside + QStringLiteral("/precious.oldversion")));
    QVERIFY(touch(outside + QStringLiteral("/target")));
    QVERIFY(QFile::link(outside, root + QStringLiteral("/brisavela-update-linked")));
    QVERIFY(QFile::link(outside + QStringLiteral("/target"), root + QStringLiteral("/link.oldversion")));

    updater()->removeOldVersionFiles(root);
    QVERIFY(!QFile::exists(root + QStringLiteral("/brisavela.exe.oldversion")));
    QVERIFY(!QFile::exists(root + QStringLiteral("/brisavela-update-a1/setup.run.oldversion")));
    QVERIFY(!QFile::exists(root + QStringLiteral("/brisavela-update-a1/lib/x.so.oldversion")));
    QVERIFY(QFile::exists(root + QStringLiteral("/deep/er/lib.so.oldversion")));
    QVERIFY(QFile::exists(root + QStringLiteral("/keep.txt")));
    QVERIFY(QFile::exists(root + QStringLiteral("/oldversion")));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.oldversion")));
    QVERIFY(QFileInfo(root + QStringLiteral("/link.oldversion")).isSymLink());
    QVERIFY(QFile::exists(outside + QStringLiteral("/target")));

    // An empty folder means the temporary-files folder.
    QVERIFY(touch(QDir::tempPath() + QStringLiteral("/setup.oldversion")));
    QVERIFY(touch(QDir::tempPath() + QStringLiteral("/x/setup.oldversion")));
    updater()->removeOldVersionFiles(QString());
    QVERIFY(!QFile::exists(QDir::tempPath() + QStringLiteral("/setup.oldversion")));
    QVERIFY(QFile::exists(QDir::tempPath() + QStringLiteral("/x/setup.oldversion")));
}

void UpdaterTest::oldVersionFilesStayWhenThereIsNoTemporaryFolder_data()
{
    QTest::addColumn<QString>("tmpdir");
    QTest::newRow("TMPDIR is missing") << QStringLiteral("missing");
    QTest::newRow("TMPDIR is a file") << QStringLiteral("file");
    QTest::newRow("relative folder") << QStringLiteral("relative");
}

void UpdaterTest::oldVersionFilesStayWhenThereIsNoTemporaryFolder()
{
    QFETCH(QString, tmpdir);
    ScratchWorkingDirectory cwd;
    QVERIFY(cwd.entered());
    const QString elsewhere = TestEnvironment::freshFolder(QStringLiteral("elsewhere"));
    QString path = elsewhere + QStringLiteral("/missing");
    if (tmpdir == QLatin1String("file")) {
        path = elsewhere + QStringLiteral("/file");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (tmpdir == QLatin1String("relative")) {
        updater()->removeOldVersionFiles(QStringLiteral("."));
        updater()->removeOldVersionFiles(QStringLiteral("brisavela-update-x"));
    } else {
        TemporaryTmpDir tmp(path);
        updater()->removeOldVersionFiles(QString());
    }
    QCOMPARE(cwd.missing(), QStringList());
}
