#pragma once

#include "chart/ChartOwner.h"
#include "race/RegattaHost.h"
#include "store/Race.h"
#include "store/Services.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class FetchIndicator;
class Following;
class GateItem;
class IconSelector;
class Karte;
class QAbstractButton;
class QLabel;
class QMenu;
class QNetworkAccessManager;
class QSlider;
class QSplitter;
class QTimer;
class Regatta;
class ReplayTimeline;
class Scheme;
class SettingsPage;
class StatusLine;
class StatusNote;
class TileSource;
class TrackingClient;
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
    void placeGates(const QList<GateItem *> &gates) override;
    void placeShip(Ship *ship) override;
    void clearBoatList() override;
    void addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow) override;
    void boatListComplete() override;
    void startRequest(const QString &url, int tag, int kind) override;
    void setTimeRange(int minimum, int maximum) override;
    void setTimeValue(int value) override;
    void setAutoLoad(bool on) override;
    void disableAutoLoad() override;
    void enableLoading() override;
    bool autoLoad() const override { return m_autoLoad; }

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
    // A note in the status line that needs no answer (data not stored, and the like).
    void showStatusNote(const QString &text);

    bool lookForUpdate() const { return m_lookForUpdate; }
    bool showCompleteTracks() const { return m_showCompleteTracks; }
    bool legendOpen() const { return m_legendOpen; }
    bool capturing() const;
    bool busy() const;
    bool serverUp() const;
    int pendingRequests() const;
    int loadInterval() const { return m_loadInterval; }
    QList<Race> races() const { return m_races; }
    QList<GateItem *> gates() const { return m_gates; }

    IconSelector *participantList() const { return m_participantList; }
    Karte *chart() const { return m_chart; }
    Scheme *scene() const { return m_scene; }
    QSplitter *splitter() const { return m_splitter; }
    SettingsPage *settingsPage() const { return m_settings; }
    QTimer *autoLoadTimer() const { return m_autoLoadTimer; }
    QTimer *animationTimer() const;
    QSlider *slider() const;
    QLabel *timeLabel() const;
    QAbstractButton *playButton() const;
    QAbstractButton *fetchButton() const;
    QMenu *raceMenu() const { return m_raceMenu; }
    QMenu *gateMenu() const { return m_gateMenu; }
    QLabel *latLabel() const;
    QLabel *lngLabel() const;
    QLabel *zoomLabel() const;
    StatusNote *statusNote() const;
    ReplayTimeline *timeline() const { return m_timeline; }
    TrackingClient *trackingClient() const { return m_client; }

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

private:
    void connectClient();
    void readPreferences();
    void buildLayout();
    void buildMenus();
    void addRace(const QString &name);
    void setTitle();
    void loadChosenRace(const Race &race);
    void restartAutoLoadTimer();

    Services m_services;
    Regatta *m_regatta = nullptr;
    QList<Race> m_races;
    QList<GateItem *> m_gates;
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
    QTimer *m_autoLoadTimer;
    ReplayTimeline *m_timeline = nullptr;
    TrackingClient *m_client;

    int m_loadInterval = 5;
    bool m_loadMaps = false;
    bool m_autoLoad = false;
    bool m_lookForUpdate = true;
    bool m_showCompleteTracks = false;
    bool m_legendOpen = false;
};
