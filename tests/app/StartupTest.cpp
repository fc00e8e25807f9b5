#include "tests/app/StartupTest.h"

#include "app/Startup.h"
#include "race/Regatta.h"
#include "updater/Updater.h"
#include "store/LocalDatabase.h"
#include "tests/support/FeedServerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ReadOnlyGuard.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include "window/MainWindow.h"
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QTest>

namespace {
QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int visibleTopLevelWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}
} // namespace

void StartupTest::init()
{
    TestEnvironment::reset();
}

void StartupTest::cleanup()
{
    LocalDatabase::close();
}

void StartupTest::firstStartCreatesFoldersAndPlacesWindow()
{
    MessageRecorder boxes;
    LogCapture log;
    const QString maps = TestEnvironment::dataFolder() + QStringLiteral("/maps");
    QVERIFY(!QDir(TestEnvironment::dataFolder()).exists());

    Startup startup(boxes, m_clock);
    QCOMPARE(startup.run(Startup::Loop::Skip), 0);

    QVERIFY(QDir(maps).exists());
    QVERIFY(log.contains(quoted(maps) + QStringLiteral(" , maps Directory existiert nicht...")));
    const QString db = TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db");
    QVERIFY(log.contains(QStringLiteral("Datenbank wird geladen:  ") + quoted(db)));
    QVERIFY(QFile::exists(db));
    QCOMPARE(boxes.titles(), (QStringList{QStringLiteral("Initialisierung..."), QStringLiteral("Update...")}));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM regatta")).toInt(), 5);

    MainWindow *window = startup.window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->geometry(), QRect(50, 50, 738, 664));
    // No race matches the first start's event 123 / task 274: the title keeps its space.
    QCOMPARE(window->windowTitle(), QStringLiteral("Brisavela2023 2.24.0 "));
    QVERIFY(!window->legendOpen());
    QVERIFY(startup.regatta());
    QCOMPARE(startup.regatta()->races().size(), 5);
}

void StartupTest::existingMapsFolderIsReportedAsFine()
{
    const QString maps = TestEnvironment::dataFolder() + QStringLiteral("/maps");
    QVERIFY(QDir().mkpath(maps));
    MessageRecorder boxes;
    LogCapture log;
    Startup startup(boxes, m_clock);
    QCOMPARE(startup.run(Startup::Loop::Skip), 0);
    QVERIFY(log.contains(quoted(maps) + QStringLiteral(" , fein, maps Directory existiert.")));
    QVERIFY(!log.containsPart(QStringLiteral("existiert nicht")));
}

void StartupTest::machineSettingsMoveTheDatabase()
{
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("shared-db"));
    {
        QSettings machine(TestEnvironment::systemConfig() + QStringLiteral("/brisavela.org.conf"),
                          QSettings::IniFormat);
        machine.setValue(QStringLiteral("BRISAVELADB2024"), folder);
    }
    MessageRecorder boxes;
    Startup startup(boxes, m_clock);
    QCOMPARE(startup.run(Startup::Loop::Skip), 0);
    QVERIFY(QFile::exists(folder + QStringLiteral("/brisavela2024.db")));
    QVERIFY(!QFile::exists(TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db")));
    // The maps still live in the per-user data folder.
    QVERIFY(QDir(TestEnvironment::dataFolder() + QStringLiteral("/maps")).exists());
}

void StartupTest::closingRemembersWindowAndRace()
{
    MessageRecorder boxes;
    {
        Startup startup(boxes, m_clock);
        QCOMPARE(startup.run(Startup::Loop::Skip), 0);
        MainWindow *window = startup.window();
        window->raceMenu()->actions().at(4)->trigger();
        window->toggleLegende();
        window->setGeometry(80, 90, 800, 600);
        QVERIFY(window->close());
    }
    LocalDatabase::close();
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brisavela.org"),
                           QStringLiteral("Brisavela"));
        QCOMPARE(settings.value(QStringLiteral("eventId")).toInt(), 125);
        QCOMPARE(settings.value(QStringLiteral("taskId")).toInt(), 281);
        QCOMPARE(settings.value(QStringLiteral("splitterOpen")).toBool(), true);
        QVERIFY(!settings.value(QStringLiteral("geomMainwindow")).toByteArray().isEmpty());
    }
    Startup again(boxes, m_clock);
    QCOMPARE(again.run(Startup::Loop::Skip), 0);
    MainWindow *window = again.window();
    QCOMPARE(window->geometry(), QRect(80, 90, 800, 600));
    QVERIFY(window->legendOpen());
    QCOMPARE(again.regatta()->raceName(), QStringLiteral("Round Zirkavento 2024 , Das Rennen"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Brisavela2023 2.24.0 Round Zirkavento 2024 , Das Rennen"));
    // The second start found the database and showed no box.
    QCOMPARE(boxes.shown().size(), 2);
}

void StartupTest::silentUpdateCheckFollowsThePreference()
{
    FeedServerFixture server;
    server.setFeed(FeedServerFixture::feed({server.item(QStringLiteral("2.24.0"))}));
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brisavela.org"),
                           QStringLiteral("Brisavela"));
        settings.setValue(QStringLiteral("downloadServerUrl"), server.baseUrl().toString());
    }
    MessageRecorder boxes;
    LogCapture log;
    {
        Startup startup(boxes, m_clock);
        QCOMPARE(startup.run(Startup::Loop::Skip), 0);
        QCOMPARE(Updater::instance()->feedURL(), QUrl(server.url(QLatin1String(FeedServerFixture::feedPath))));
        QVERIFY(QTest::qWaitFor([&] { return server.server().requests().size() == 1; }, 3000));
        QCOMPARE(server.server().requests().first().path(), QLatin1String(FeedServerFixture::feedPath));
        // After the window is shown, before the race controller exists.
        const int check = log.indexOf(QStringLiteral(" looking for update..."));
        QVERIFY(check >= 0);
        QVERIFY(check < log.indexOf(QStringLiteral(" regatta::initRegatta, vor initRaces()")));
        QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET lookforupdate=0")}));
        // The check's answer is handled before the next start.
        QVERIFY(QTest::qWaitFor([] { return Updater::instance()->network()->findChildren<QNetworkReply *>().isEmpty(); },
                                3000));
    }
    LocalDatabase::close();
    log.clear();
    Startup again(boxes, m_clock);
    QCOMPARE(again.run(Startup::Loop::Skip), 0);
    // A check is sent from within run(): had there been one, its request would be under way.
    QVERIFY(Updater::instance()->network()->findChildren<QNetworkReply *>().isEmpty());
    QVERIFY(!log.contains(QStringLiteral(" looking for update...")));
    Updater::instance()->clear();
}

void StartupTest::unusableDatabaseEndsBeforeAnyWindow_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("directory in the way") << true << QByteArray();
    QTest::newRow("not a database") << false << QByteArray(2048, '\x5a');
}

void StartupTest::unusableDatabaseEndsBeforeAnyWindow()
{
    QFETCH(bool, directory);
    QFETCH(QByteArray, content);
    const QString path = TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db");
    if (directory) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(QDir().mkpath(TestEnvironment::dataFolder()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    MessageRecorder boxes;
    Startup startup(boxes, m_clock);
    const int before = visibleTopLevelWindows();
    QCOMPARE(startup.run(Startup::Loop::Skip), 1);
    QVERIFY(!startup.window());
    QCOMPARE(visibleTopLevelWindows(), before);

    QCOMPARE(boxes.shown().size(), 1);
    const MessageRequest &box = boxes.shown().first();
    QCOMPARE(box.icon, MessagePresenter::Icon::Critical);
    QCOMPARE(box.title, QStringLiteral("Cannot open database"));
    QCOMPARE(box.text,
             QStringLiteral("Unable to establish a database connection to %1\nThis example needs SQLite support. "
                            "Please read the Qt SQL driver documentation for information how to build it.\n\n"
                            "Click Cancel to exit.")
                 .arg(path));
    QCOMPARE(box.buttons, MessagePresenter::Buttons(MessageRequest::Cancel));
    QVERIFY(box.parent == nullptr);

    if (!directory) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void StartupTest::readOnlyDatabaseIsToldOnce()
{
    MessageRecorder boxes;
    {
        Startup first(boxes, m_clock);
        QCOMPARE(first.run(Startup::Loop::Skip), 0);
    }
    LocalDatabase::close();
    boxes.clear();
    ReadOnlyGuard guard(TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db"));
    if (!guard.isActive())
        QSKIP("this file system cannot make a file read-only for this user");

    Startup startup(boxes, m_clock);
    QCOMPARE(startup.run(Startup::Loop::Skip), 0);
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Datenbank schreibgeschützt")});
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Warning);
    QVERIFY(boxes.shown().first().text.contains(QStringLiteral("werden nicht gespeichert")));
    // What is stored is shown all the same.
    QCOMPARE(startup.regatta()->races().size(), 5);
    QVERIFY(startup.window()->isVisible());
}

void StartupTest::killedFirstStartIsCreatedAgain()
{
    const QString db = TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db");
    // The real program, which waits at its first box for an answer that never comes.
    QProcess viewer;
    viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer.start(QStringLiteral(BRISAVELA_VIEWER), {});
    QVERIFY(viewer.waitForStarted());
    const bool reached = QTest::qWaitFor([&] { return QFile::exists(db); }, 20000);
    viewer.kill();
    viewer.waitForFinished();
    QVERIFY(reached);

    MessageRecorder boxes;
    Startup startup(boxes, m_clock);
    QCOMPARE(startup.run(Startup::Loop::Skip), 0);
    QCOMPARE(boxes.titles(), (QStringList{QStringLiteral("Initialisierung..."), QStringLiteral("Update...")}));
    QCOMPARE(startup.regatta()->races().size(), 5);
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{1, 1, 5, 1}}));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

namespace {
// Looks at the file from outside while the second box of a first start waits for its answer:
// what another program, or the next start after a kill, would find there.
class FileAtUpdateBox : public MessagePresenter
{
public:
    explicit FileAtUpdateBox(const QString &path)
        : m_path(path)
    {
    }

    Button present(const MessageRequest &request) override
    {
        if (request.title == QLatin1String("Update...")) {
            seen = true;
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outside"));
            other.setDatabaseName(m_path);
            if (other.open())
                tablesOutside = other.tables();
            other.close();
        }
        return MessageRequest::Ok;
    }

    bool seen = false;
    QStringList tablesOutside{QStringLiteral("not looked")};

private:
    QString m_path;
};
} // namespace

void StartupTest::interruptedCreationLeavesNothing()
{
    const QString db = TestEnvironment::dataFolder() + QStringLiteral("/brisavela2024.db");
    {
        FileAtUpdateBox outside(db);
        Startup startup(outside, m_clock);
        QCOMPARE(startup.run(Startup::Loop::Skip), 0);
        QVERIFY(outside.seen);
        // The tables made before the box are not in the file until the creation is complete;
        // a kill at that box leaves an empty file, which the next start creates anew.
        QCOMPARE(outside.tablesOutside, QStringList());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("outside"));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM regatta")).toInt(), 5);
}
