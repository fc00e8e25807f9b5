#include "window/MainWindow.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/TileSource.h"
#include "participants/IconSelector.h"
#include "race/Regatta.h"
#include "store/AppIdentity.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/PrefsTable.h"
#include "store/RegattaTable.h"
#include "window/FetchIndicator.h"
#include "window/Following.h"
#include "window/ReplayBar.h"
#include "window/ReplayTimeline.h"
#include "window/SettingsPage.h"
#include "window/StatusLine.h"
#include "window/StatusNote.h"
#include "window/TrackingClient.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int legendStripWidth = 25;
// The fetch period in minutes: at most a day, and far from the timer's int range.
constexpr int longestLoadInterval = 1440;
} // namespace

MainWindow::MainWindow(Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_trackingNetwork(new QNetworkAccessManager(this))
    , m_tileNetwork(new QNetworkAccessManager(this))
    , m_tiles(new TileSource(services.environment.mapsFolder(), services.environment.tileServerUrl(),
                             m_tileNetwork, this))
    , m_scene(new Scheme(this))
    , m_settings(new SettingsPage)
    , m_bar(std::make_unique<ReplayBar>())
    , m_autoLoadTimer(new QTimer(this))
    , m_client(new TrackingClient(services, m_trackingNetwork, this))
{
    m_scene->setSceneRect(0, 0, 1000, 1000);
    m_chart = new Karte(m_scene, this, m_tiles);
    m_chart->centerOn(0, 0);
    m_chart->setCenter(42.986766, 16.0203);
    m_chart->setZoom(10);
    m_indicator = std::make_unique<FetchIndicator>(m_bar->fetchButton);

    connect(m_autoLoadTimer, &QTimer::timeout, this, &MainWindow::getData);
    m_loadInterval = 5;
    readPreferences();

    connect(m_settings->autoLoadBox(), &QCheckBox::clicked, this, &MainWindow::toggleAutoLoad);
    connect(m_settings->loadMapsBox(), &QCheckBox::clicked, this, &MainWindow::toggleLoadMaps);
    connect(m_settings->lookForUpdateBox(), &QCheckBox::clicked, this, &MainWindow::toggleLookForUpdate);
    connect(m_settings->completeTracksBox(), &QCheckBox::clicked, this, &MainWindow::toggleShowCompleteTracks);
    m_settings->autoLoadBox()->setChecked(m_autoLoad);
    m_settings->loadMapsBox()->setChecked(m_loadMaps);
    m_settings->lookForUpdateBox()->setChecked(m_lookForUpdate);
    m_settings->completeTracksBox()->setChecked(m_showCompleteTracks);

    m_participantList = new IconSelector(this, services.messages);
    m_following = std::make_unique<Following>(m_chart, m_participantList, [this] { return animating(); });
    buildLayout();
    m_status = std::make_unique<StatusLine>(statusBar());
    buildMenus();

    connectClient();
    m_bar->timeLabel->setText(services.clock.now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    m_participantList->connectSignals(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectClient()
{
    connect(m_client, &TrackingClient::requestSent, this, &MainWindow::setNetLedOn);
    connect(m_client, &TrackingClient::replyHandled, this, &MainWindow::setNetLedOff);
    connect(m_client, &TrackingClient::fetchStarted, this, [this] {
        if (m_autoLoad)
            restartAutoLoadTimer();
    });
    connect(m_client, &TrackingClient::lastReportChanged, this,
            [this](Ship *ship) { IconSelector::showLastReport(*ship, m_services.clock.nowSeconds()); });
    connect(m_client, &TrackingClient::positionsAnswered, this, [this] {
        m_settings->lastQueryLabel()->setText(
            m_services.clock.now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    });
    connect(m_client, &TrackingClient::problem, this, &MainWindow::showStatusNote);
}

void MainWindow::setRegatta(Regatta *regatta)
{
    m_regatta = regatta;
    m_client->setRegatta(regatta);
    m_timeline->setRegatta(regatta);
    m_following->setRegatta(regatta);
}

QString MainWindow::fetchIconPath(bool outstanding, bool autoLoad)
{
    return FetchIndicator::iconPath(outstanding, autoLoad);
}

QIcon MainWindow::fetchIcon(bool outstanding, bool autoLoad) const
{
    return m_indicator->icon(outstanding, autoLoad);
}

void MainWindow::readPreferences()
{
    if (const std::optional<int> value = PrefsTable::loadMaps())
        setLoadMaps(*value == 1);
    // A period below a minute would make the timer fetch without pause.
    if (const std::optional<int> value = PrefsTable::loadInterval(); value && *value >= 1)
        m_loadInterval = std::min(*value, longestLoadInterval);
    if (const std::optional<int> value = PrefsTable::autoLoad())
        setAutoLoad(*value == 1);
    if (const std::optional<int> value = PrefsTable::lookForUpdate())
        setLookForUpdate(*value == 1);
}

void MainWindow::buildLayout()
{
    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("sidePanel"));
    tabs->addTab(m_participantList, QStringLiteral("Teilnehmer"));
    tabs->addTab(m_settings, QStringLiteral("Einstellungen"));
    // The closed side panel is a strip narrower than any tab page would ask for.
    tabs->setMinimumWidth(1);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_chart);
    m_splitter->addWidget(tabs);
    m_splitter->setMinimumWidth(legendStripWidth);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({width(), legendStripWidth});
    m_legendOpen = false;

    m_indicator->show(false, m_autoLoad);
    m_timeline = new ReplayTimeline(m_bar->slider, m_bar->timeLabel, m_bar->playButton, m_bar->playIcon,
                                    m_bar->pauseIcon, m_chart, m_services.clock, this);
    connect(m_bar->slider, &QSlider::valueChanged, this, &MainWindow::setUhrzeit);
    connect(m_bar->playButton, &QToolButton::clicked, this, &MainWindow::animOnOff);
    connect(m_bar->fetchButton, &QToolButton::clicked, this, &MainWindow::getData);

    auto *central = new QWidget;
    auto *rows = new QVBoxLayout(central);
    rows->addWidget(m_splitter);
    rows->addLayout(m_bar->row);
    setCentralWidget(central);
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&Datei"));
    QAction *exit = file->addAction(tr("&Beenden"));
    connect(exit, &QAction::triggered, this, &MainWindow::quit);
    m_raceMenu = menuBar()->addMenu(tr("&Regatten"));
    m_gateMenu = menuBar()->addMenu(tr("&Gates"));
}

void MainWindow::showStatusNote(const QString &text)
{
    m_status->note()->showNote(text);
}

void MainWindow::quit()
{
    close();
}

void MainWindow::setXYStatus(int, int, qreal lat, qreal lng, int zoom)
{
    m_status->setXYStatus(lat, lng, zoom);
}

void MainWindow::setZoomStatus(int zoom)
{
    m_status->setZoomStatus(zoom);
}

void MainWindow::toggleLegende()
{
    const int w = width();
    if (m_legendOpen) {
        m_splitter->setSizes({w, 0});
        m_legendOpen = false;
    } else {
        m_splitter->setSizes({w / 2, w / 2});
        m_legendOpen = true;
    }
    m_chart->setFocus();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space)
        toggleLegende();
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    settings->setValue(QLatin1String(Environment::keyGeometry), saveGeometry());
    settings->setValue(QLatin1String(Environment::keySplitterOpen), m_legendOpen);
    if (m_regatta) {
        settings->setValue(QLatin1String(Environment::keyEventId), m_regatta->eventId());
        settings->setValue(QLatin1String(Environment::keyTaskId), m_regatta->taskId());
    }
    settings->sync();
    QMainWindow::closeEvent(event);
}

// Races, gates and boats

void MainWindow::addRaces(const QList<Race> &races, int eventId, int taskId)
{
    m_races = races;
    const Race *remembered = nullptr;
    for (const Race &race : m_races) {
        qDebug() << "MainWindow::addRaces(), vor this->addRace()";
        addRace(race.name);
        if (race.eventId == eventId && race.taskId == taskId)
            remembered = &race;
    }
    if (remembered) {
        qDebug() << "MainWindow::addRaces(), vor regatta->loadRace()";
        loadChosenRace(*remembered);
    }
    setTitle();
    QCoreApplication::processEvents();
    m_chart->refresh();
}

void MainWindow::addRace(const QString &name)
{
    QAction *action = m_raceMenu->addAction(name);
    connect(action, &QAction::triggered, this, &MainWindow::chooseRace);
}

void MainWindow::loadChosenRace(const Race &race)
{
    if (!m_regatta)
        return;
    m_regatta->loadRace(race);
    setShowCompleteTracks(race.showCompleteTracks);
}

void MainWindow::setTitle()
{
    setWindowTitle(QStringLiteral("%1 %2 %3")
                       .arg(QLatin1String(AppIdentity::applicationName), QLatin1String(AppIdentity::applicationVersion),
                            m_regatta ? m_regatta->raceName() : QString()));
}

void MainWindow::chooseRace()
{
    const auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QString text = action->text();
    for (const Race &race : std::as_const(m_races)) {
        if (!text.startsWith(race.name))
            continue;
        stopAnimation();
        loadChosenRace(race);
        setTitle();
    }
}

void MainWindow::addGates(const QList<GateItem *> &gates)
{
    m_gates = gates;
    m_gateMenu->clear();
    for (const GateItem *gate : std::as_const(m_gates)) {
        QAction *action = m_gateMenu->addAction(gate->name());
        connect(action, &QAction::triggered, this, &MainWindow::chooseGate);
    }
}

void MainWindow::chooseGate()
{
    const auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    for (const GateItem *gate : std::as_const(m_gates)) {
        if (!action->text().startsWith(gate->name()))
            continue;
        m_chart->setCenter(gate->anchor());
        m_chart->refresh();
    }
}

void MainWindow::placeGates(const QList<GateItem *> &gates)
{
    m_chart->placeGates(gates);
}

void MainWindow::placeShip(Ship *ship)
{
    if (ship->scene() != m_scene)
        m_scene->addItem(ship);
}

void MainWindow::clearBoatList()
{
    m_participantList->clearShips();
}

void MainWindow::addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow)
{
    m_participantList->addClassGroup(className, ships, groupRow);
}

void MainWindow::boatListComplete()
{
    m_participantList->showAllRows();
}

// Settings

void MainWindow::setLoadMaps(bool on)
{
    m_loadMaps = on;
    m_settings->loadMapsBox()->setChecked(on);
}

void MainWindow::setLookForUpdate(bool on)
{
    m_lookForUpdate = on;
    m_settings->lookForUpdateBox()->setChecked(on);
}

void MainWindow::setShowCompleteTracks(bool on)
{
    m_showCompleteTracks = on;
    m_settings->completeTracksBox()->setChecked(on);
}

void MainWindow::setAutoLoad(bool on)
{
    m_autoLoad = on;
    m_settings->autoLoadBox()->setChecked(on);
    if (!on)
        m_autoLoadTimer->stop();
    else if (!m_autoLoadTimer->isActive())
        m_autoLoadTimer->start(m_loadInterval * 60000);
    m_indicator->show(pendingRequests() > 0, m_autoLoad);
}

void MainWindow::disableAutoLoad()
{
    m_settings->autoLoadBox()->setEnabled(false);
    m_autoLoad = false;
    m_indicator->show(pendingRequests() > 0, m_autoLoad);
}

void MainWindow::enableLoading()
{
    m_bar->fetchButton->setEnabled(true);
    QCheckBox *box = m_settings->autoLoadBox();
    if (!box->isEnabled()) {
        // A finished race switched the box off without asking the user; the choice the
        // user stored is still in the preferences and comes back with the box.
        if (const std::optional<int> stored = PrefsTable::autoLoad())
            box->setChecked(*stored == 1);
        box->setEnabled(true);
    }
    toggleAutoLoad();
}

void MainWindow::restartAutoLoadTimer()
{
    if (m_autoLoadTimer->isActive())
        m_autoLoadTimer->stop();
    m_autoLoadTimer->start(m_loadInterval * 60000);
}

void MainWindow::toggleLoadMaps()
{
    m_loadMaps = m_settings->loadMapsBox()->isChecked();
    PrefsTable::setLoadMaps(m_loadMaps);
    m_chart->setFocus();
}

void MainWindow::toggleAutoLoad()
{
    m_autoLoad = m_settings->autoLoadBox()->isChecked();
    PrefsTable::setAutoLoad(m_autoLoad);
    if (m_autoLoad)
        restartAutoLoadTimer();
    else
        m_autoLoadTimer->stop();
    m_chart->setFocus();
    m_indicator->show(busy(), m_autoLoad);
}

void MainWindow::toggleLookForUpdate()
{
    m_lookForUpdate = m_settings->lookForUpdateBox()->isChecked();
    PrefsTable::setLookForUpdate(m_lookForUpdate);
    m_chart->setFocus();
}

void MainWindow::toggleShowCompleteTracks()
{
    m_showCompleteTracks = m_settings->completeTracksBox()->isChecked();
    RegattaTable::setShowCompleteTracks(m_regatta ? m_regatta->raceId() : 0, m_showCompleteTracks);
    if (m_regatta) {
        // The race records too, or choosing the race again would bring the old value back.
        const int raceId = m_regatta->raceId();
        for (Race &race : m_races) {
            if (race.id == raceId)
                race.showCompleteTracks = m_showCompleteTracks;
        }
        m_regatta->setShowCompleteTracks(raceId, m_showCompleteTracks);
        for (Ship *ship : m_regatta->ships())
            ship->setShowCompleteTrack(m_showCompleteTracks);
    }
    m_chart->setFocus();
    m_chart->refresh();
}

// Network indicator and tracking server

void MainWindow::setNetLedOn()
{
    m_indicator->requestSent(m_autoLoad);
}

void MainWindow::setNetLedOff()
{
    m_indicator->requestDone(m_autoLoad);
}

int MainWindow::pendingRequests() const
{
    return m_indicator->pendingRequests();
}

bool MainWindow::busy() const
{
    return m_client->busy();
}

bool MainWindow::serverUp() const
{
    return m_client->serverUp();
}

void MainWindow::startRequest(const QString &url, int tag, int kind)
{
    m_client->startRequest(url, tag, kind);
}

void MainWindow::getData()
{
    m_chart->setFocus();
    m_client->getData();
}

// Replay

void MainWindow::setTimeRange(int minimum, int maximum)
{
    m_timeline->setTimeRange(minimum, maximum);
}

void MainWindow::setTimeValue(int value)
{
    m_timeline->setTimeValue(value);
}

void MainWindow::setUhrzeit(int tstamp)
{
    m_timeline->setUhrzeit(tstamp);
}

void MainWindow::captureOnOff()
{
    m_timeline->captureOnOff();
}

void MainWindow::animOnOff()
{
    m_timeline->animOnOff();
}

void MainWindow::advanceFrame(int step)
{
    m_timeline->advanceFrame(step);
}

void MainWindow::advanceFrame()
{
    m_timeline->advanceFrame(ReplayTimeline::frameStep);
}

void MainWindow::stopAnimation()
{
    m_timeline->stopAnimation();
}

bool MainWindow::animating() const
{
    return m_timeline && m_timeline->animating();
}

bool MainWindow::capturing() const
{
    return m_timeline->capturing();
}

QTimer *MainWindow::animationTimer() const
{
    return m_timeline->timer();
}

// Following and showing boats

void MainWindow::checkship(TreeShipItem *item)
{
    m_following->checkship(item);
}

void MainWindow::shiponoff(TreeShipItem *item, bool on)
{
    m_following->shiponoff(item, on);
}

void MainWindow::toggleFollowAt(int x, int y)
{
    m_following->toggleFollowAt(x, y);
}

void MainWindow::clearFollow()
{
    m_following->clearFollow();
}

void MainWindow::refreshShipTracks()
{
    if (!m_regatta)
        return;
    for (Ship *ship : m_regatta->ships())
        ship->updateOnChart(*m_chart);
}

// Widgets of the parts, for inspection

QSlider *MainWindow::slider() const
{
    return m_bar->slider;
}

QLabel *MainWindow::timeLabel() const
{
    return m_bar->timeLabel;
}

QAbstractButton *MainWindow::playButton() const
{
    return m_bar->playButton;
}

QAbstractButton *MainWindow::fetchButton() const
{
    return m_bar->fetchButton;
}

QLabel *MainWindow::latLabel() const
{
    return m_status->latLabel();
}

QLabel *MainWindow::lngLabel() const
{
    return m_status->lngLabel();
}

QLabel *MainWindow::zoomLabel() const
{
    return m_status->zoomLabel();
}

StatusNote *MainWindow::statusNote() const
{
    return m_status->note();
}
