#pragma once

#include "chart/ChartOwner.h"
#include "chart/Karte.h"
#include "participants/IconSelector.h"
#include "race/RegattaHost.h"
#include "store/Race.h"
#include "store/Services.h"
#include "window/AutoLoading.h"
#include "window/FetchHealth.h"
#include "window/FetchIndicator.h"
#include "window/FleetView.h"
#include "window/Following.h"
#include "window/LiveFollow.h"
#include "window/RaceMenus.h"
#include "window/ReadoutTips.h"
#include "window/ReplaySpeed.h"
#include "window/ReplayTimeline.h"
#include "window/SettingsPage.h"
#include "window/StatusLine.h"
#include "window/StaleMarking.h"
#include "window/StatusNote.h"
#include "window/TrackingClient.h"
#include "window/ViewHelpMenus.h"

#include <QList>
#include <QMainWindow>

#include <memory>
#include <optional>
#include <utility>

class GateItem;
class AboutDialog;
class KeysDialog;
class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QNetworkAccessManager;
class QSlider;
class QSplitter;
class RaceRanking;
class RankingTable;
class SpeedColouring;
class QTimer;
class Regatta;
class Scheme;
class TileSource;
class TreeShipItem;
struct ReplayBar;

// The program's window: the chart with the participant list and settings beside it, the
// replay bar below, menus for races and gates, and the status line. It builds its parts,
// connects them, and answers the chart and the race model.
class MainWindow : public QMainWindow, public ChartOwner, public RegattaHost
{
    Q_OBJECT
public:
    explicit MainWindow(Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Race model
    void setRegatta(Regatta *regatta) override;
    Regatta *regatta() const { return m_regatta; }
    void addRaces(const QList<Race> &races, int eventId, int taskId) override;
    void addGates(const QList<GateItem *> &gates) override;
    void placeGates(const QList<GateItem *> &gates) override { m_chart->placeGates(gates); }
    void placeShip(Ship *ship) override;
    void clearBoatList() override { m_participantList->clearShips(); }
    void addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow) override
    {
        m_participantList->addClassGroup(className, ships, groupRow);
    }
    void boatListComplete() override { m_participantList->showAllRows(); }
    void startRequest(const QString &url, int tag, int kind) override { m_client->startRequest(url, tag, kind); }
    void setTimeRange(int minimum, int maximum) override
    {
        m_timeline->setTimeRange(minimum, maximum);
        m_live->rangeChanged();
    }
    void setTimeValue(int value) override
    {
        m_timeline->setTimeValue(value);
        // The boats stand where the replay time puts them: a race just loaded may need
        // showing, once the answers for all its boats are in.
        if (m_client->outstandingPositions() == 0)
            m_fleetView->placed();
    }
    void setAutoLoad(bool on) override { m_autoLoading->set(on); }
    void disableAutoLoad() override { m_autoLoading->disable(); }
    void enableLoading() override;
    bool autoLoad() const override { return m_autoLoading->isOn(); }
    void tracksChanged() override;

    // Chart
    bool loadMaps() const override { return m_settings->loadMaps(); }
    bool animating() const override { return m_timeline && m_timeline->animating(); }
    void toggleFollowAt(int x, int y) override { m_following->toggleFollowAt(x, y); }
    void clearFollow() override { m_following->clearFollow(); }
    void refreshShipTracks() override;

    void setLoadMaps(bool on) { m_settings->setLoadMaps(on); }
    void setLookForUpdate(bool on) { m_settings->setLookForUpdate(on); }
    void setShowCompleteTracks(bool on) { m_settings->setShowCompleteTracks(on); }
    void stopAnimation() { m_timeline->stopAnimation(); }
    // A note in the status line that needs no answer (data not stored, and the like).
    void showStatusNote(const QString &text) { m_status->note()->showNote(text); }

    bool lookForUpdate() const { return m_settings->lookForUpdate(); }
    bool showCompleteTracks() const { return m_settings->showCompleteTracks(); }
    bool legendOpen() const { return m_legendOpen; }
    bool capturing() const { return m_timeline->capturing(); }
    bool busy() const { return m_client->busy(); }
    bool serverUp() const { return m_client->serverUp(); }
    int pendingRequests() const { return m_indicator->pendingRequests(); }
    int loadInterval() const { return m_autoLoading->interval(); }
    QList<Race> races() const { return m_menus->races(); }
    QList<GateItem *> gates() const { return m_menus->gates(); }

    IconSelector *participantList() const { return m_participantList; }
    Karte *chart() const { return m_chart; }
    Scheme *scene() const { return m_scene; }
    QSplitter *splitter() const { return m_splitter; }
    SettingsPage *settingsPage() const { return m_settings; }
    QTimer *autoLoadTimer() const { return m_autoLoading->timer(); }
    QTimer *animationTimer() const { return m_timeline->timer(); }
    QSlider *slider() const { return m_slider; }
    QLabel *timeLabel() const { return m_timeLabel; }
    QAbstractButton *playButton() const { return m_playButton; }
    QAbstractButton *fetchButton() const { return m_fetchButton; }
    QMenu *raceMenu() const { return m_raceMenu; }
    QMenu *gateMenu() const { return m_gateMenu; }
    QLabel *latLabel() const { return m_latLabel; }
    QLabel *lngLabel() const { return m_lngLabel; }
    QLabel *zoomLabel() const { return m_zoomLabel; }
    StatusNote *statusNote() const { return m_note; }
    QLabel *lastFetchLabel() const { return m_status->lastFetchLabel(); }
    QComboBox *speedBox() const;
    QAbstractButton *liveButton() const;
    QMenu *viewMenu() const { return m_viewHelp->viewMenu(); }
    QMenu *helpMenu() const { return m_viewHelp->helpMenu(); }
    QAction *showFleetAction() const { return m_viewHelp->showFleetAction(); }
    QAction *showCourseAction() const { return m_viewHelp->showCourseAction(); }
    QAction *keysAction() const { return m_viewHelp->keysAction(); }
    QAction *aboutAction() const { return m_viewHelp->aboutAction(); }
    KeysDialog *keysDialog() const { return m_viewHelp->keysDialog(); }
    AboutDialog *aboutDialog() const { return m_viewHelp->aboutDialog(); }
    ReplaySpeed *replaySpeed() const { return m_speed; }
    LiveFollow *liveFollow() const { return m_live; }
    StaleMarking *staleMarking() const { return m_stale; }
    FetchHealth *fetchHealth() const { return m_health; }
    ReadoutTips *readoutTips() const { return m_tips; }
    FleetView *fleetView() const { return m_fleetView.get(); }
    ReplayTimeline *timeline() const { return m_timeline; }
    TrackingClient *trackingClient() const { return m_client; }
    RankingTable *rankingTable() const { return m_rankingTable; }
    RaceRanking *raceRanking() const { return m_ranking; }
    SpeedColouring *speedColouring() const { return m_speedColouring; }
    QAction *rankingExportAction() const { return m_rankingExportAction; }

    // The fetch button's icon names, by state, and the icons loaded from them.
    static QString fetchIconPath(bool outstanding, bool autoLoad)
    {
        return FetchIndicator::iconPath(outstanding, autoLoad);
    }
    QIcon fetchIcon(bool outstanding, bool autoLoad) const { return m_indicator->icon(outstanding, autoLoad); }

public slots:
    void setXYStatus(int, int, qreal lat, qreal lng, int zoom) override
    {
        m_status->setXYStatus(lat, lng, zoom);
    }
    void setZoomStatus(int zoom) override { m_status->setZoomStatus(zoom); }
    void chooseRace();
    void chooseGate();
    void setUhrzeit(int tstamp) override { m_timeline->setUhrzeit(tstamp); }
    void captureOnOff() { m_timeline->captureOnOff(); }
    // Playing and stepping are the user's own moves of the replay: live mode ends.
    void animOnOff()
    {
        m_live->leave();
        m_timeline->animOnOff();
    }
    void advanceFrame(int step) override
    {
        m_live->leave();
        m_timeline->advanceFrame(step);
    }
    void advanceFrame() { advanceFrame(ReplayTimeline::frameStep); }
    void toggleLegende();
    void checkship(TreeShipItem *item);
    void shiponoff(TreeShipItem *item, bool on);
    void getData();
    void setNetLedOn() override { m_indicator->requestSent(autoLoad()); }
    void setNetLedOff() override { m_indicator->requestDone(autoLoad()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void quit() { close(); }
    void toggleLoadMaps();
    void toggleAutoLoad();
    void toggleShowCompleteTracks();
    void toggleLookForUpdate();

private:
    void connectClient();
    void readPreferences();
    void buildLayout();
    void buildMenus();
    void buildAdditions();
    // The chart's centre and zoom for the race shown so far, and those remembered for a race.
    void rememberView();
    // True when a view was remembered for the race.
    bool restoreView(const Race &race);
    void setTitle();
    void loadChosenRace(const Race &race);

    Services m_services;
    Regatta *m_regatta = nullptr;
    QNetworkAccessManager *m_trackingNetwork;
    QNetworkAccessManager *m_tileNetwork;
    TileSource *m_tiles;
    Scheme *m_scene;
    Karte *m_chart;
    IconSelector *m_participantList;
    SettingsPage *m_settings;
    QSplitter *m_splitter = nullptr;
    std::unique_ptr<ReplayBar> m_bar;
    std::unique_ptr<FetchIndicator> m_indicator;
    std::unique_ptr<StatusLine> m_status;
    std::unique_ptr<Following> m_following;
    QMenu *m_raceMenu = nullptr;
    QMenu *m_gateMenu = nullptr;
    std::unique_ptr<RaceMenus> m_menus;
    // Widgets of the parts, for inspection.
    QSlider *m_slider;
    QLabel *m_timeLabel;
    QAbstractButton *m_playButton;
    QAbstractButton *m_fetchButton;
    QLabel *m_latLabel = nullptr;
    QLabel *m_lngLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    StatusNote *m_note = nullptr;
    AutoLoading *m_autoLoading;
    ReplayTimeline *m_timeline = nullptr;
    TrackingClient *m_client;
    ReplaySpeed *m_speed = nullptr;
    LiveFollow *m_live = nullptr;
    StaleMarking *m_stale = nullptr;
    FetchHealth *m_health = nullptr;
    ReadoutTips *m_tips = nullptr;
    std::unique_ptr<FleetView> m_fleetView;
    ViewHelpMenus *m_viewHelp = nullptr;
    RankingTable *m_rankingTable = nullptr;
    RaceRanking *m_ranking = nullptr;
    SpeedColouring *m_speedColouring = nullptr;
    QAction *m_rankingExportAction = nullptr;
    // Event and task of the race on the chart, once one is loaded.
    std::optional<std::pair<int, int>> m_shownRace;

    bool m_legendOpen = false;
};
