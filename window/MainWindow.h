#pragma once

#include "chart/ChartOwner.h"
#include "race/Race.h"
#include "race/RegattaHost.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QNetworkReply>
#include <QSqlQuery>

class GateItem;
class IconSelector;
class Karte;
class QAbstractButton;
class QLabel;
class QMenu;
class QNetworkReply;
class QSlider;
class QSplitter;
class QTimer;
class Regatta;
class ReplayTimeline;
class Scheme;
class SettingsPage;
class StatusNote;
class Ship;
class TrackingClient;
class TreeShipItem;

// The program's window: the chart with the participant list and settings beside it, the
// replay bar below, menus for races and gates, and the status line. The hub the other
// parts call back into.
class MainWindow : public QMainWindow, public ChartOwner, public RegattaHost
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Race model
    void setRegatta(Regatta *regatta) override { m_regatta = regatta; }
    Regatta *regatta() const { return m_regatta; }
    void addRaces(const QList<Race> &races, int eventId, int taskId) override;
    void addGates(const QList<GateItem *> &gates) override;
    void startRequest(const QString &url, int tag, int kind) override;
    void setTimeRange(int minimum, int maximum) override;
    void setTimeValue(int value) override;
    void setAutoLoad(bool on) override;
    void disableAutoLoad() override;
    void enableLoading() override;
    bool autoLoad() const override { return m_autoLoad; }
    IconSelector *participantList() const override { return m_participantList; }
    Karte *chart() const override { return m_chart; }
    Scheme *scene() const override { return m_scene; }

    // Chart
    bool loadMaps() const override { return m_loadMaps; }
    bool animating() const override;
    void toggleFollowAt(int x, int y) override;
    void clearFollow() override;
    void refreshShipTracks() override;

    void setLoadMaps(bool on);
    void setLookForUpdate(bool on);
    void setShowCompleteTracks(bool on);
    void stopAnimation();

    bool lookForUpdate() const { return m_lookForUpdate; }
    bool showCompleteTracks() const { return m_showCompleteTracks; }
    bool legendOpen() const { return m_legendOpen; }
    bool capturing() const;
    bool busy() const;
    bool serverUp() const;
    int pendingRequests() const { return m_pendingRequests; }
    int loadInterval() const { return m_loadInterval; }
    QList<Race> races() const { return m_races; }
    QList<GateItem *> gates() const { return m_gates; }

    QSplitter *splitter() const { return m_splitter; }
    SettingsPage *settingsPage() const { return m_settings; }
    QTimer *autoLoadTimer() const { return m_autoLoadTimer; }
    QTimer *animationTimer() const;
    QSlider *slider() const { return m_slider; }
    QLabel *timeLabel() const { return m_timeLabel; }
    QAbstractButton *playButton() const { return m_playButton; }
    QAbstractButton *fetchButton() const { return m_fetchButton; }
    QMenu *raceMenu() const { return m_raceMenu; }
    QMenu *gateMenu() const { return m_gateMenu; }
    QLabel *latLabel() const { return m_latLabel; }
    QLabel *lngLabel() const { return m_lngLabel; }
    QLabel *zoomLabel() const { return m_zoomLabel; }
    ReplayTimeline *timeline() const { return m_timeline; }
    TrackingClient *trackingClient() const { return m_client; }

    StatusNote *statusNote() const { return m_note; }
    // A note in the status line that needs no answer (data not stored, and the like).
    void showStatusNote(const QString &text);

    // The fetch button's icon names, by state, and the icons loaded from them.
    static QString fetchIconPath(bool outstanding, bool autoLoad);
    QIcon fetchIcon(bool outstanding, bool autoLoad) const;

public slots:
    void setXYStatus(int x, int y, qreal lat, qreal lng, int zoom) override;
    void setZoomStatus(int zoom) override;
    void chooseRace();
    void chooseGate();
    void setUhrzeit(int tstamp) override;
    void captureOnOff();
    void animOnOff();
    void advanceFrame(int step) override;
    void advanceFrame();
    void toggleLegende();
    void checkship(TreeShipItem *item);
    void shiponoff(TreeShipItem *item, bool on);
    void getData();
    void setNetLedOn() override;
    void setNetLedOff() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void quit();
    void toggleLoadMaps();
    void toggleAutoLoad();
    void toggleShowCompleteTracks();
    void toggleLookForUpdate();
    void handleNetworkData(QNetworkReply *reply);

private:
    void readPreferences();
    void buildLayout();
    void buildStatusLine();
    void buildMenus();
    void addRace(const QString &name);
    void setTitle();
    void loadChosenRace(const Race &race);
    void writeFollow(const Ship *ship);
    void selectRow(const Ship *ship);
    void showFetchState(bool outstanding);
    Ship *firstShip(int id, bool mustBeShown) const;
    bool writePreference(const QString &statement, const char *name, bool on);

    Regatta *m_regatta = nullptr;
    QList<Race> m_races;
    QList<GateItem *> m_gates;
    Scheme *m_scene;
    Karte *m_chart;
    IconSelector *m_participantList;
    SettingsPage *m_settings;
    QSplitter *m_splitter = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_timeLabel = nullptr;
    QAbstractButton *m_playButton = nullptr;
    QAbstractButton *m_fetchButton = nullptr;
    QLabel *m_latLabel = nullptr;
    QLabel *m_lngLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    StatusNote *m_note = nullptr;
    QMenu *m_raceMenu = nullptr;
    QMenu *m_gateMenu = nullptr;
    QTimer *m_autoLoadTimer;
    ReplayTimeline *m_timeline = nullptr;
    TrackingClient *m_client;

    int m_loadInterval = 5;
    bool m_loadMaps = false;
    bool m_autoLoad = false;
    bool m_lookForUpdate = true;
    bool m_showCompleteTracks = false;
    bool m_legendOpen = false;
    int m_pendingRequests = 0;

    QSqlQuery m_showFollowStatement;
    QSqlQuery m_unfollowAllStatement;
    QSqlQuery m_followStatement;

    QIcon m_playIcon;
    QIcon m_pauseIcon;
    QIcon m_idleIcon;
    QIcon m_loadIcon;
    QIcon m_idleAutoIcon;
    QIcon m_loadAutoIcon;
};
