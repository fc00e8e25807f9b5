#include "window/MainWindow.h"

#include "chart/GateItem.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/TileSource.h"
#include "race/Regatta.h"
#include "store/AppIdentity.h"
#include "store/AssetLocator.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/PrefsTable.h"
#include "store/RegattaTable.h"
#include "window/RaceRanking.h"
#include "window/RankingExportAction.h"
#include "window/RankingTable.h"
#include "window/ReplayBar.h"
#include "window/ReplayKeys.h"
#include "window/SpeedColouring.h"
#include "window/TrackExportAction.h"
#include "window/ViewHelpMenus.h"
#include "window/ViewMemory.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int legendStripWidth = 25;
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
    , m_slider(m_bar->slider)
    , m_timeLabel(m_bar->timeLabel)
    , m_playButton(m_bar->playButton)
    , m_fetchButton(m_bar->fetchButton)
    , m_client(new TrackingClient(services, m_trackingNetwork, this))
{
    m_scene->setSceneRect(0, 0, 1000, 1000);
    m_chart = new Karte(m_scene, this, m_tiles);
    m_chart->centerOn(0, 0);
    m_chart->setCenter(42.986766, 16.0203);
    m_chart->setZoom(10);
    m_indicator = std::make_unique<FetchIndicator>(m_bar->fetchButton);
    m_autoLoading = new AutoLoading(m_settings->autoLoadBox(), m_indicator.get(), this);
    // Without a stored preference the program looks for updates.
    setLookForUpdate(true);
    connect(m_autoLoading, &AutoLoading::fetchDue, this, &MainWindow::getData);
    readPreferences();

    connect(m_settings->autoLoadBox(), &QCheckBox::clicked, this, &MainWindow::toggleAutoLoad);
    connect(m_settings->loadMapsBox(), &QCheckBox::clicked, this, &MainWindow::toggleLoadMaps);
    connect(m_settings->lookForUpdateBox(), &QCheckBox::clicked, this, &MainWindow::toggleLookForUpdate);
    connect(m_settings->completeTracksBox(), &QCheckBox::clicked, this, &MainWindow::toggleShowCompleteTracks);

    m_participantList = new IconSelector(this, services.messages);
    m_rankingTable = new RankingTable;
    m_ranking = new RaceRanking(m_rankingTable, [this] { return m_slider->value(); }, this);
    connect(m_rankingTable, &RankingTable::boatClicked, this, [this](int boatId) {
        m_following->checkshipById(boatId);
        m_ranking->update();
    });
    m_following = std::make_unique<Following>(m_chart, m_participantList, [this] { return animating(); });
    buildLayout();
    m_status = std::make_unique<StatusLine>(statusBar());
    m_latLabel = m_status->latLabel();
    m_lngLabel = m_status->lngLabel();
    m_zoomLabel = m_status->zoomLabel();
    m_note = m_status->note();
    buildMenus();
    buildAdditions();

    connectClient();
    m_bar->timeLabel->setText(services.clock.now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    m_participantList->connectSignals(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectClient()
{
    connect(m_client, &TrackingClient::requestSent, this, &MainWindow::setNetLedOn);
    connect(m_client, &TrackingClient::replyHandled, this, &MainWindow::setNetLedOff);
    connect(m_client, &TrackingClient::fetchStarted, m_autoLoading, &AutoLoading::fetchStarted);
    connect(m_client, &TrackingClient::lastReportChanged, this,
            [this](Ship *ship) { IconSelector::showLastReport(*ship, m_services.clock.nowSeconds()); });
    connect(m_client, &TrackingClient::positionsAnswered, this, [this] {
        m_settings->lastQueryLabel()->setText(
            m_services.clock.now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    });
    connect(m_client, &TrackingClient::problem, this, &MainWindow::showStatusNote);
    connect(m_client, &TrackingClient::positionsAnswered, m_health, &FetchHealth::succeeded);
    connect(m_client, &TrackingClient::requestFailed, m_health,
            [this](int, int httpStatus, const QString &) { m_health->failed(httpStatus); });
}

void MainWindow::buildAdditions()
{
    m_speed = new ReplaySpeed(m_bar->speedBox, this);
    m_timeline->setSpeed(m_speed);
    m_live = new LiveFollow(m_bar->liveButton, m_bar->slider, this);
    connect(m_live, &LiveFollow::entered, this, [this] {
        stopAnimation();
        // A running race has newer positions on the server than in the database.
        if (autoLoad())
            getData();
        m_chart->setFocus();
    });
    m_stale = new StaleMarking(m_settings->staleMinutesBox(), this);
    m_timeline->setStaleMarking(m_stale);
    connect(m_stale, &StaleMarking::limitChanged, this, [this] {
        if (!m_regatta)
            return;
        m_stale->markAll(m_regatta->ships());
        m_chart->refresh();
    });
    m_health = new FetchHealth(statusBar(), m_status->lastFetchLabel(), m_services.clock, this);
    m_tips = new ReadoutTips(m_chart, m_participantList, m_services.clock,
                             [this] { return qint64(m_slider->value()); }, this);
    new ReplayKeys(m_chart, [this](int step) { advanceFrame(step); }, this);
    m_fleetView = std::make_unique<FleetView>(m_chart, this);
    m_speedColouring = new SpeedColouring(
        m_settings->speedColoursBox(), m_chart,
        [this] { return m_regatta ? m_regatta->ships() : QList<Ship *>(); }, this);

    m_viewHelp = new ViewHelpMenus(menuBar(), m_fleetView.get(), m_chart, this);
}

QComboBox *MainWindow::speedBox() const
{
    return m_bar->speedBox;
}

QAbstractButton *MainWindow::liveButton() const
{
    return m_bar->liveButton;
}

void MainWindow::setRegatta(Regatta *regatta)
{
    m_regatta = regatta;
    m_client->setRegatta(regatta);
    m_timeline->setRegatta(regatta);
    m_following->setRegatta(regatta);
    m_tips->setRegatta(regatta);
    m_fleetView->setRegatta(regatta);
    m_ranking->setRegatta(regatta);
}

void MainWindow::tracksChanged()
{
    m_ranking->tracksChanged();
    m_speedColouring->tracksChanged();
}

void MainWindow::checkship(TreeShipItem *item)
{
    m_following->checkship(item);
    m_ranking->update();
}

void MainWindow::shiponoff(TreeShipItem *item, bool on)
{
    m_following->shiponoff(item, on);
    m_ranking->update();
}

void MainWindow::readPreferences()
{
    if (const std::optional<int> value = PrefsTable::loadMaps())
        setLoadMaps(*value == 1);
    m_autoLoading->readInterval();
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
    tabs->addTab(m_rankingTable, tr("Rangliste"));
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

    m_indicator->show(false, m_autoLoading->isOn());
    m_timeline = new ReplayTimeline(m_bar->slider, m_bar->timeLabel, m_bar->playButton, m_bar->playIcon,
                                    m_bar->pauseIcon, m_chart, m_services.clock, this);
    connect(m_bar->slider, &QSlider::valueChanged, this, &MainWindow::setUhrzeit);
    connect(m_bar->slider, &QSlider::valueChanged, m_ranking, &RaceRanking::update);
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
    auto *exporter =
        new TrackExportAction(this, m_services, [this] { return m_regatta; }, [this] { return m_slider->value(); });
    connect(file->addAction(tr("Tracks exportieren…")), &QAction::triggered, exporter, &TrackExportAction::exportTracks);
    auto *rankingExporter = new RankingExportAction(
        this, m_services, [this] { return m_ranking->shownRankingAt(m_slider->value()); },
        [this] { return m_regatta ? m_regatta->raceName() : QString(); });
    m_rankingExportAction = file->addAction(tr("Rangliste exportieren…"));
    connect(m_rankingExportAction, &QAction::triggered, rankingExporter, &RankingExportAction::exportRanking);
    file->addSeparator();
    QAction *exit = file->addAction(tr("&Beenden"));
    connect(exit, &QAction::triggered, this, &MainWindow::quit);
    m_raceMenu = menuBar()->addMenu(tr("&Regatten"));
    m_gateMenu = menuBar()->addMenu(tr("&Gates"));
    m_menus = std::make_unique<RaceMenus>(m_raceMenu, m_gateMenu);
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
    rememberView();
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
    const Race *remembered = m_menus->setRaces(races, eventId, taskId, this, &MainWindow::chooseRace);
    if (remembered) {
        qDebug() << "MainWindow::addRaces(), vor regatta->loadRace()";
        loadChosenRace(*remembered);
    }
    setTitle();
    QCoreApplication::processEvents();
    m_chart->refresh();
}

void MainWindow::loadChosenRace(const Race &race)
{
    if (!m_regatta)
        return;
    rememberView();
    const bool restored = restoreView(race);
    m_shownRace = std::make_pair(race.eventId, race.taskId);
    m_fleetView->raceLoading(restored);
    m_regatta->loadRace(race);
    setShowCompleteTracks(race.showCompleteTracks);
}

void MainWindow::rememberView()
{
    if (m_shownRace)
        ViewMemory::save(m_shownRace->first, m_shownRace->second, {m_chart->center(), m_chart->zoom()});
}

bool MainWindow::restoreView(const Race &race)
{
    const std::optional<ViewMemory::View> view =
        ViewMemory::load(race.eventId, race.taskId, Karte::minZoom, Karte::maxZoom);
    if (!view)
        return false;
    m_chart->setCenter(view->centre);
    m_chart->setZoom(view->zoom);
    setZoomStatus(view->zoom);
    return true;
}

void MainWindow::setTitle()
{
    setWindowTitle(QStringLiteral("%1 %2 %3")
                       .arg(QLatin1String(AppIdentity::applicationName), QLatin1String(AppIdentity::applicationVersion),
                            m_regatta ? m_regatta->raceName() : QString()));
}

void MainWindow::chooseRace()
{
    for (const Race &race : m_menus->racesNamedBy(qobject_cast<QAction *>(sender()))) {
        stopAnimation();
        loadChosenRace(race);
        setTitle();
    }
}

void MainWindow::addGates(const QList<GateItem *> &gates)
{
    m_menus->setGates(gates, this, &MainWindow::chooseGate);
}

void MainWindow::chooseGate()
{
    for (const GateItem *gate : m_menus->gatesNamedBy(qobject_cast<QAction *>(sender()))) {
        m_chart->setCenter(gate->anchor());
        m_chart->refresh();
    }
}

void MainWindow::placeShip(Ship *ship)
{
    if (ship->scene() != m_scene)
        m_scene->addItem(ship);
}

// Settings

void MainWindow::enableLoading()
{
    m_bar->fetchButton->setEnabled(true);
    m_autoLoading->enable();
    toggleAutoLoad();
}

void MainWindow::toggleLoadMaps()
{
    PrefsTable::setLoadMaps(loadMaps());
    m_chart->setFocus();
}

void MainWindow::toggleAutoLoad()
{
    m_autoLoading->applyBox(busy());
    m_chart->setFocus();
}

void MainWindow::toggleLookForUpdate()
{
    PrefsTable::setLookForUpdate(lookForUpdate());
    m_chart->setFocus();
}

void MainWindow::toggleShowCompleteTracks()
{
    const bool complete = showCompleteTracks();
    const int raceId = m_regatta ? m_regatta->raceId() : 0;
    RegattaTable::setShowCompleteTracks(raceId, complete);
    // The race records too, or choosing the race again would bring the old value back.
    m_menus->setShowCompleteTracks(raceId, complete);
    if (m_regatta)
        m_regatta->setShowCompleteTracks(raceId, complete);
    m_chart->setFocus();
    m_chart->refresh();
}

// Network indicator and tracking server

void MainWindow::getData()
{
    m_chart->setFocus();
    m_client->getData();
}

// Replay

// Following and showing boats

void MainWindow::refreshShipTracks()
{
    if (!m_regatta)
        return;
    for (Ship *ship : m_regatta->ships())
        ship->updateOnChart(*m_chart);
}
