#include "app/Startup.h"

#include "app/TerminationSignals.h"
#include "race/Regatta.h"
#include "store/AppIdentity.h"
#include "store/AssetLocator.h"
#include "store/DatabaseSchema.h"
#include "store/Environment.h"
#include "store/LocalDatabase.h"
#include "store/MessagePresenter.h"
#include "updater/Updater.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSettings>

Startup::Startup()
    : m_services{m_environment, m_ownClock, m_boxes}
{
}

Startup::Startup(MessagePresenter &messages, Clock &clock)
    : m_services{m_environment, clock, messages}
{
}

Startup::~Startup()
{
    // The updater outlives this start-up; it must not keep boxes that go with it.
    Updater::instance()->setMessagePresenter(nullptr);
}

void Startup::nameApplication()
{
    QCoreApplication::setApplicationName(QCoreApplication::translate("main", AppIdentity::applicationName));
    QCoreApplication::setApplicationVersion(QLatin1String(AppIdentity::applicationVersion));
    QCoreApplication::setOrganizationName(QLatin1String(AppIdentity::organizationName));
    QCoreApplication::setOrganizationDomain(QLatin1String(AppIdentity::organizationDomain));
}

int Startup::run(Loop loop)
{
    configureUpdater();
    prepareDataFolder();
    applyStyleSheet();
    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    const QString databasePath = findDatabasePath();
    if (!openDatabase(databasePath))
        return 1;
    buildWindow(*settings);
    startRace(*settings);
    if (loop == Loop::Skip)
        return 0;
    // Ended from outside (log-out, kill), the window closes as if the user closed it.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, m_window.get(), &QWidget::close);
    const int exitCode = QApplication::exec();
    m_regatta.reset();
    m_window.reset();
    return exitCode;
}

MainWindow *Startup::window() const
{
    return m_window.get();
}

Regatta *Startup::regatta() const
{
    return m_regatta.get();
}

void Startup::configureUpdater()
{
    // The server addresses are needed from here on, so they are read before anything else.
    m_environment.readServerUrls(*Environment::settingsStore());
    Updater *updater = Updater::instance();
    updater->setMessagePresenter(&m_services.messages);
    updater->setFeedURL(m_environment.downloadEndpoint(QStringLiteral("downloads/setup/brisavela.xml")));
    updater->allowSkipVersion(false);
    updater->allowRemindLater(true);
    updater->removeOldVersionFiles(QString());
}

void Startup::prepareDataFolder()
{
    m_environment.setDataFolder(Environment::defaultDataFolder());
    const QString mapsFolder = m_environment.mapsFolder();
    QDir maps(mapsFolder);
    if (maps.exists()) {
        qDebug() << maps.absolutePath() << ", fein, maps Directory existiert.";
    } else {
        qDebug() << maps.absolutePath() << ", maps Directory existiert nicht...";
        QDir().mkpath(mapsFolder);
    }
}

void Startup::applyStyleSheet()
{
    QFile file(AssetLocator::assetPath(QStringLiteral("css/brisavela.qss")));
    QString styleSheet;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const qsizetype nul = bytes.indexOf('\0');
        styleSheet = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    }
    qApp->setStyleSheet(styleSheet);
}

QString Startup::findDatabasePath()
{
    const QString folder =
        Environment::machineStore()->value(QLatin1String(Environment::keyDatabaseFolder), m_environment.dataFolder())
            .toString();
    const QString path = folder + QStringLiteral("/") + QLatin1String(Environment::databaseFileName);
    m_environment.setDatabasePath(path);
    qDebug() << "Datenbank wird geladen: " << path;
    return path;
}

bool Startup::openDatabase(const QString &path)
{
    bool existed = false;
    if (!LocalDatabase::open(path, &existed)) {
        m_services.messages.show(
            MessagePresenter::Icon::Critical, QCoreApplication::translate("Startup", "Cannot open database"),
            QCoreApplication::translate("Startup",
                                        "Unable to establish a database connection to %1\n"
                                        "This example needs SQLite support. Please read the Qt SQL driver "
                                        "documentation for information how to build it.\n\n"
                                        "Click Cancel to exit.")
                .arg(path),
            MessageRequest::Cancel);
        LocalDatabase::close();
        return false;
    }
    DatabaseSchema::createOrUpgrade(existed, m_services.messages);
    LocalDatabase::ensureIndexes();
    if (!LocalDatabase::isWritable()) {
        // Told once: the stored races are still shown, but nothing fetched can be kept.
        m_services.messages.show(
            MessagePresenter::Icon::Warning, QCoreApplication::translate("Startup", "Datenbank schreibgeschützt"),
            QCoreApplication::translate("Startup",
                                        "Die Datenbank %1 kann nicht beschrieben werden: der Datenordner oder die "
                                        "Datei ist schreibgeschützt.\n\nBrisavela zeigt, was gespeichert ist. "
                                        "Neu geladene Boote und Positionen werden nicht gespeichert.")
                .arg(path),
            MessageRequest::Ok);
    }
    return true;
}

void Startup::buildWindow(QSettings &settings)
{
    m_window = std::make_unique<MainWindow>(m_services);
    const QVariant geometry = settings.value(QLatin1String(Environment::keyGeometry));
    if (geometry.isValid())
        m_window->restoreGeometry(geometry.toByteArray());
    else
        m_window->setGeometry(50, 50, 738, 664);
    if (settings.value(QLatin1String(Environment::keySplitterOpen), false).toBool())
        m_window->toggleLegende();

    m_eventId = settings.value(QLatin1String(Environment::keyEventId), 123).toInt();
    m_taskId = settings.value(QLatin1String(Environment::keyTaskId), 274).toInt();

    m_window->setWindowTitle(QStringLiteral("%1 %2 Initialisierung")
                                 .arg(QLatin1String(AppIdentity::applicationName),
                                      QLatin1String(AppIdentity::applicationVersion)));
    QCoreApplication::processEvents();
    m_window->show();
}

void Startup::startRace(QSettings &)
{
    if (m_window->lookForUpdate()) {
        qDebug() << " looking for update...";
        Updater::instance()->CheckForUpdatesSilent();
    }
    m_regatta = std::make_unique<Regatta>(m_window.get(), m_eventId, m_taskId, m_services);
}
