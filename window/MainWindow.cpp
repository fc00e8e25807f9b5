#include "window/MainWindow.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "race/Regatta.h"
#include "store/AppIdentity.h"
#include "store/AssetLocator.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/Sql.h"
#include "window/ReplayTimeline.h"
#include "window/SettingsPage.h"
#include "window/StatusNote.h"
#include "window/TrackExportAction.h"
#include "window/TrackingClient.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDebug>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr int legendStripWidth = 25;
// The fetch period in minutes: at most a day, and far from the timer's int range.
constexpr int longestLoadInterval = 1440;

QIcon iconFile(const QString &path)
{
    const QPixmap pixmap(AssetLocator::assetPath(path));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_scene(new Scheme(this))
    , m_participantList(nullptr)
    , m_settings(nullptr)
    , m_autoLoadTimer(nullptr)
    , m_client(new TrackingClient(*this))
{
    m_showFollowStatement.prepare(Sql::Ship::updateShowFollow);
    m_unfollowAllStatement.prepare(Sql::Ship::unfollowEvent);
    m_followStatement.prepare(Sql::Ship::updateFollow);
    m_scene->setSceneRect(0, 0, 1000, 1000);
    m_chart = new Karte(m_scene, this);
    m_chart->centerOn(0, 0);
    m_chart->setCenter(42.986766, 16.0203);
    m_chart->setZoom(10);

    m_settings = new SettingsPage;

    m_autoLoadTimer = new QTimer(this);
    connect(m_autoLoadTimer, &QTimer::timeout, this, &MainWindow::getData);
    m_loadInterval = 5;

    m_playIcon = iconFile(QStringLiteral("img/playbutton.png"));
    m_pauseIcon = iconFile(QStringLiteral("img/pausebutton.png"));
    m_idleIcon = iconFile(fetchIconPath(false, false));
    m_loadIcon = iconFile(fetchIconPath(true, false));
    m_idleAutoIcon = iconFile(fetchIconPath(false, true));
    m_loadAutoIcon = iconFile(fetchIconPath(true, true));

    readPreferences();

    connect(m_settings->autoLoadBox(), &QCheckBox::clicked, this, &MainWindow::toggleAutoLoad);
    connect(m_settings->loadMapsBox(), &QCheckBox::clicked, this, &MainWindow::toggleLoadMaps);
    connect(m_settings->lookForUpdateBox(), &QCheckBox::clicked, this, &MainWindow::toggleLookForUpdate);
    connect(m_settings->completeTracksBox(), &QCheckBox::clicked, this, &MainWindow::toggleShowCompleteTracks);
    m_settings->autoLoadBox()->setChecked(m_autoLoad);
    m_settings->loadMapsBox()->setChecked(m_loadMaps);
    m_settings->lookForUpdateBox()->setChecked(m_lookForUpdate);
    m_settings->completeTracksBox()->setChecked(m_showCompleteTracks);

    m_participantList = new IconSelector(this);
    buildLayout();
    buildStatusLine();
    buildMenus();

    connect(m_client->network(), &QNetworkAccessManager::finished, this, &MainWindow::handleNetworkData);
    m_timeLabel->setText(Clock::now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    m_participantList->connectSignals(this);
}

MainWindow::~MainWindow() = default;

QString MainWindow::fetchIconPath(bool outstanding, bool autoLoad)
{
    if (outstanding)
        return autoLoad ? QStringLiteral("img/loadicon_auto.png") : QStringLiteral("img/loadicon.png");
    return autoLoad ? QStringLiteral("img/idleicon_auto.png") : QStringLiteral("img/idleicon.png");
}

void MainWindow::readPreferences()
{
    QSqlQuery query;
    auto read = [&query](const QString &statement, int *value) {
        if (!query.exec(statement) || !query.next())
            return false;
        *value = query.value(0).toInt();
        return true;
    };
    int value = 0;
    if (read(Sql::Prefs::selectLoadMaps, &value))
        setLoadMaps(value == 1);
    // A period below a minute would make the timer fetch without pause.
    if (read(Sql::Prefs::selectLoadInterval, &value) && value >= 1)
        m_loadInterval = std::min(value, longestLoadInterval);
    if (read(Sql::Prefs::selectAutoLoad, &value))
        setAutoLoad(value == 1);
    if (read(Sql::Prefs::selectLookForUpdate, &value))
        setLookForUpdate(value == 1);
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

    m_timeLabel = new QLabel;
    m_timeLabel->setObjectName(QStringLiteral("uhrzeit"));
    auto *play = new QToolButton;
    play->setObjectName(QStringLiteral("playButton"));
    play->setIcon(m_playIcon);
    play->setToolTip(tr("Animation starten"));
    m_playButton = play;
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setObjectName(QStringLiteral("animslider"));
    auto *fetch = new QToolButton;
    fetch->setObjectName(QStringLiteral("fetchButton"));
    fetch->setIcon(m_autoLoad ? m_idleAutoIcon : m_idleIcon);
    fetch->setToolTip(tr("neueste Positionsdaten holen"));
    m_fetchButton = fetch;
    const QSize iconSize = QPixmap(AssetLocator::assetPath(QStringLiteral("img/playbutton.png"))).size();
    if (!iconSize.isEmpty()) {
        play->setIconSize(iconSize);
        fetch->setIconSize(iconSize);
    }
    m_timeline = new ReplayTimeline(*this, m_slider, m_timeLabel, m_playButton, m_playIcon, m_pauseIcon);

    auto *replayBar = new QHBoxLayout;
    replayBar->addWidget(m_timeLabel);
    replayBar->addWidget(play);
    replayBar->addWidget(m_slider);
    replayBar->addWidget(new QLabel);
    replayBar->addWidget(fetch);
    connect(m_slider, &QSlider::valueChanged, this, &MainWindow::setUhrzeit);
    connect(play, &QToolButton::clicked, this, &MainWindow::animOnOff);
    connect(fetch, &QToolButton::clicked, this, &MainWindow::getData);

    auto *central = new QWidget;
    auto *rows = new QVBoxLayout(central);
    rows->addWidget(m_splitter);
    rows->addLayout(replayBar);
    setCentralWidget(central);
}

void MainWindow::buildStatusLine()
{
    auto *thanks = new QLabel(QStringLiteral("Map data CCBYSA 2014 OpenStreetMap.org contributors"));
    thanks->setObjectName(QStringLiteral("danklabel"));
    thanks->setMinimumSize(thanks->sizeHint());
    m_latLabel = new QLabel(QStringLiteral("Lat:"));
    m_latLabel->setMinimumSize(m_latLabel->sizeHint());
    m_lngLabel = new QLabel(QStringLiteral("Lng:"));
    m_lngLabel->setIndent(3);
    m_zoomLabel = new QLabel(QStringLiteral("Zoom:"));
    m_zoomLabel->setIndent(5);
    statusBar()->addWidget(thanks, 0);
    statusBar()->addWidget(m_latLabel, 0);
    statusBar()->addWidget(m_lngLabel, 0);
    statusBar()->addWidget(m_zoomLabel, 0);
    m_note = new StatusNote;
    statusBar()->addPermanentWidget(m_note, 1);
    statusBar()->setCursor(Qt::ArrowCursor);
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&Datei"));
    auto *exporter = new TrackExportAction(this, [this] { return m_regatta; }, [this] { return m_slider->value(); });
    connect(file->addAction(tr("Tracks exportieren…")), &QAction::triggered, exporter, &TrackExportAction::exportTracks);
    file->addSeparator();
    QAction *exit = file->addAction(tr("&Beenden"));
    connect(exit, &QAction::triggered, this, &MainWindow::quit);
    m_raceMenu = menuBar()->addMenu(tr("&Regatten"));
    m_gateMenu = menuBar()->addMenu(tr("&Gates"));
}

void MainWindow::showStatusNote(const QString &text)
{
    m_note->showNote(text);
}

void MainWindow::quit()
{
    close();
}

void MainWindow::setXYStatus(int, int, qreal lat, qreal lng, int zoom)
{
    m_latLabel->setText(QStringLiteral("Lat:%1").arg(lat, 10, 'f', 5));
    m_lngLabel->setText(QStringLiteral("Lng:%1").arg(lng, 10, 'f', 5));
    setZoomStatus(zoom);
}

void MainWindow::setZoomStatus(int zoom)
{
    m_zoomLabel->setText(QStringLiteral("Zoom:%1").arg(zoom));
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

// Races and gates

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
    showFetchState(m_pendingRequests > 0);
}

void MainWindow::disableAutoLoad()
{
    m_settings->autoLoadBox()->setEnabled(false);
    m_autoLoad = false;
    showFetchState(m_pendingRequests > 0);
}

void MainWindow::enableLoading()
{
    m_fetchButton->setEnabled(true);
    QCheckBox *box = m_settings->autoLoadBox();
    if (!box->isEnabled()) {
        // A finished race switched the box off without asking the user; the choice the
        // user stored is still in the preferences and comes back with the box.
        QSqlQuery query;
        if (query.exec(Sql::Prefs::selectAutoLoad) && query.next())
            box->setChecked(query.value(0).toInt() == 1);
        box->setEnabled(true);
    }
    toggleAutoLoad();
}

bool MainWindow::writePreference(const QString &statement, const char *name, bool on)
{
    QSqlQuery query;
    query.prepare(statement);
    query.bindValue(QLatin1String(name), on ? 1 : 0);
    return query.exec();
}

void MainWindow::toggleLoadMaps()
{
    m_loadMaps = m_settings->loadMapsBox()->isChecked();
    writePreference(Sql::Prefs::updateLoadMaps, ":loadmaps", m_loadMaps);
    m_chart->setFocus();
}

void MainWindow::toggleAutoLoad()
{
    m_autoLoad = m_settings->autoLoadBox()->isChecked();
    writePreference(Sql::Prefs::updateAutoLoad, ":autoload", m_autoLoad);
    if (m_autoLoad) {
        if (m_autoLoadTimer->isActive())
            m_autoLoadTimer->stop();
        m_autoLoadTimer->start(m_loadInterval * 60000);
    } else {
        m_autoLoadTimer->stop();
    }
    m_chart->setFocus();
    showFetchState(busy());
}

void MainWindow::toggleLookForUpdate()
{
    m_lookForUpdate = m_settings->lookForUpdateBox()->isChecked();
    writePreference(Sql::Prefs::updateLookForUpdate, ":lookforupdate", m_lookForUpdate);
    m_chart->setFocus();
}

void MainWindow::toggleShowCompleteTracks()
{
    m_showCompleteTracks = m_settings->completeTracksBox()->isChecked();
    QSqlQuery query;
    query.prepare(Sql::Regatta::updateShowCompleteTracks);
    query.bindValue(QStringLiteral(":showcompletetracks"), m_showCompleteTracks ? 1 : 0);
    query.bindValue(QStringLiteral(":regatta_id"), m_regatta ? m_regatta->raceId() : 0);
    query.exec();
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

QIcon MainWindow::fetchIcon(bool outstanding, bool autoLoad) const
{
    if (outstanding)
        return autoLoad ? m_loadAutoIcon : m_loadIcon;
    return autoLoad ? m_idleAutoIcon : m_idleIcon;
}

void MainWindow::showFetchState(bool outstanding)
{
    // The preferences are read before the replay bar exists.
    if (!m_fetchButton)
        return;
    m_fetchButton->setIcon(fetchIcon(outstanding, m_autoLoad));
    m_fetchButton->setToolTip(outstanding ? tr("Übertragung stoppen") : tr("neueste Positionsdaten holen"));
}

void MainWindow::setNetLedOn()
{
    ++m_pendingRequests;
    showFetchState(true);
}

void MainWindow::setNetLedOff()
{
    m_pendingRequests = std::max(0, m_pendingRequests - 1);
    if (m_pendingRequests == 0)
        showFetchState(false);
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
    m_client->getData();
}

void MainWindow::handleNetworkData(QNetworkReply *reply)
{
    m_client->handleNetworkData(reply);
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

Ship *MainWindow::firstShip(int id, bool mustBeShown) const
{
    if (!m_regatta)
        return nullptr;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->id() == id && (!mustBeShown || ship->show()))
            return ship;
    }
    return nullptr;
}

void MainWindow::checkship(TreeShipItem *item)
{
    Ship *ship = item ? firstShip(item->shipId(), true) : nullptr;
    if (ship) {
        if (ship->follow()) {
            ship->setFollow(false);
        } else {
            ship->unfollowAll();
            ship->setFollow(true);
            if (ship->pointCount() > 0 && ship->hasCurrentPoint())
                m_chart->setCenter(ship->currentPoint().position);
        }
        if (!animating())
            m_chart->refresh();
        writeFollow(ship);
    } else if (m_regatta) {
        for (const Ship *followed : m_regatta->ships()) {
            if (!followed->follow())
                continue;
            if (followed->listIndex().isValid())
                selectRow(followed);
            break;
        }
    }
    m_chart->setFocus();
}

void MainWindow::shiponoff(TreeShipItem *item, bool on)
{
    Ship *ship = item ? firstShip(item->shipId(), false) : nullptr;
    if (!ship)
        return;
    if (on) {
        ship->setShow(true);
    } else {
        if (ship->follow())
            ship->setFollow(false);
        ship->setShow(false);
    }
    if (!animating())
        m_chart->refresh();
    m_showFollowStatement.bindValue(QStringLiteral(":show"), ship->show());
    m_showFollowStatement.bindValue(QStringLiteral(":follow"), ship->follow());
    m_showFollowStatement.bindValue(QStringLiteral(":id"), ship->id());
    m_showFollowStatement.exec();
    m_chart->setFocus();
}

void MainWindow::toggleFollowAt(int x, int y)
{
    if (!m_regatta)
        return;
    const QRect box(QPoint(x - 10, y - 10), QPoint(x + 9, y + 9));
    Ship *picked = nullptr;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->pointCount() > 0 && ship->show() && box.contains(ship->pixelPos())) {
            picked = ship;
            break;
        }
    }
    if (!picked)
        return;
    if (picked->follow()) {
        picked->setFollow(false);
    } else {
        picked->unfollowAll();
        picked->setFollow(true);
        if (picked->listIndex().isValid())
            selectRow(picked);
    }
    m_chart->refresh();
    writeFollow(picked);
}

void MainWindow::writeFollow(const Ship *ship)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    m_unfollowAllStatement.bindValue(QStringLiteral(":id"), ship->regattaId());
    m_unfollowAllStatement.exec();
    m_followStatement.bindValue(QStringLiteral(":follow"), ship->follow());
    m_followStatement.bindValue(QStringLiteral(":id"), ship->id());
    m_followStatement.exec();
    db.commit();
}

void MainWindow::selectRow(const Ship *ship)
{
    const QModelIndex first = ship->listIndex();
    const QModelIndex last = first.sibling(first.row(), m_participantList->model()->columnCount() - 1);
    m_participantList->treeView()->selectionModel()->select(QItemSelection(first, last),
                                                             QItemSelectionModel::SelectCurrent);
}

void MainWindow::clearFollow()
{
    if (!m_regatta)
        return;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->follow()) {
            ship->setFollow(false);
            return;
        }
    }
}

void MainWindow::refreshShipTracks()
{
    if (!m_regatta)
        return;
    for (Ship *ship : m_regatta->ships())
        ship->updateOnChart(*m_chart);
}
