#include "tests/window/MainWindowTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/SettingsPage.h"
#include "window/TrackingClient.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {
QVariantList prefs()
{
    return SqlHelpers::rows(QStringLiteral("SELECT loadmaps, autoload, loadinterval, lookforupdate FROM prefs")).value(0);
}

// The button shows the icon the window holds for that state: the same icon object, not
// one that merely renders alike.
bool showsIcon(const MainWindow &window, bool outstanding, bool autoLoad)
{
    const QIcon expected = window.fetchIcon(outstanding, autoLoad);
    return !expected.isNull() && window.fetchButton()->icon().cacheKey() == expected.cacheKey();
}

// Largest difference of any channel between two images of the same size.
int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

QStringList rowLabels(const QGroupBox *group)
{
    QStringList labels;
    const auto *form = qobject_cast<const QFormLayout *>(group->layout());
    for (int row = 0; form && row < form->rowCount(); ++row) {
        const QLayoutItem *label = form->itemAt(row, QFormLayout::LabelRole);
        const auto *text = label ? qobject_cast<const QLabel *>(label->widget()) : nullptr;
        labels << (text ? text->text() : QString());
    }
    return labels;
}

QWidget *rowField(const QGroupBox *group, int row)
{
    const auto *form = qobject_cast<const QFormLayout *>(group->layout());
    const QLayoutItem *field = form ? form->itemAt(row, QFormLayout::FieldRole) : nullptr;
    return field ? field->widget() : nullptr;
}

// The 2024 test race: 10 April 2024 10:00 to 13 April 05:59 UTC.
constexpr int bis279 = 1712987940;
} // namespace

void MainWindowTest::init()
{
    TestEnvironment::reset();
}

void MainWindowTest::sidePanelStripOpensToHalfAndCloses()
{
    WindowRig rig;
    QSplitter *splitter = rig.window->splitter();
    QCOMPARE(splitter->sizes().value(1), 25);
    QVERIFY(!rig.window->legendOpen());

    // Space on the chart reaches the window.
    QTest::keyClick(rig.window->chart(), Qt::Key_Space);
    QVERIFY(rig.window->legendOpen());
    // Half the window's width; the chart keeps what is left.
    QCOMPARE(splitter->sizes().value(1), rig.window->width() / 2);
    QCOMPARE(rig.window->focusWidget(), rig.window->chart());

    QTest::keyClick(rig.window->chart(), Qt::Key_Space);
    QVERIFY(!rig.window->legendOpen());
    QCOMPARE(splitter->sizes().value(1), 0);
}

void MainWindowTest::statusLineTexts()
{
    WindowRig rig;
    rig.window->setXYStatus(3, 4, 45.5, -7.25, 12);
    QCOMPARE(rig.window->latLabel()->text(), QStringLiteral("Lat:  45.50000"));
    QCOMPARE(rig.window->lngLabel()->text(), QStringLiteral("Lng:  -7.25000"));
    QCOMPARE(rig.window->zoomLabel()->text(), QStringLiteral("Zoom:12"));
    rig.window->setZoomStatus(9);
    QCOMPARE(rig.window->zoomLabel()->text(), QStringLiteral("Zoom:9"));
    // The chart reports the pointer through the same slots.
    rig.window->chart()->reportPointer(10, 10);
    QVERIFY(rig.window->latLabel()->text().startsWith(QStringLiteral("Lat:  43.")));
}

void MainWindowTest::settingsPageAndMenuTexts()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    const QList<QGroupBox *> groups = w.settingsPage()->findChildren<QGroupBox *>();
    // The two groups of the settings, then the replay's own.
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0]->title(), QStringLiteral("Netzwerk"));
    QCOMPARE(rowLabels(groups[0]), (QStringList{"Letzte Abfrage der Postionsdaten", "Positionsdaten automatisch herunterladen",
                                                "Fehlende Karten automatisch herunterladen",
                                                "Beim Start nach Programmupdates suchen"}));
    QCOMPARE(rowField(groups[0], 0), w.settingsPage()->lastQueryLabel());
    QCOMPARE(rowField(groups[0], 1), w.settingsPage()->autoLoadBox());
    QCOMPARE(rowField(groups[0], 2), w.settingsPage()->loadMapsBox());
    QCOMPARE(rowField(groups[0], 3), w.settingsPage()->lookForUpdateBox());
    QCOMPARE(w.settingsPage()->lastQueryLabel()->text(), QStringLiteral("--.--.---- --:--"));
    QCOMPARE(groups[1]->title(), QStringLiteral("Boote"));
    QCOMPARE(rowLabels(groups[1]), QStringList{"komplette Tracks anzeigen"});
    QCOMPARE(rowField(groups[1], 0), w.settingsPage()->completeTracksBox());
    QCOMPARE(groups[2]->title(), QStringLiteral("Wiedergabe"));
    QCOMPARE(rowField(groups[2], 0), w.settingsPage()->staleMinutesBox());
    QCOMPARE(rowField(groups[2], 1), w.settingsPage()->speedColoursBox());
    QCOMPARE(rowLabels(groups[2]).value(1), QStringLiteral("Tracks nach Geschwindigkeit färben"));

    QStringList menus;
    for (const QAction *a : w.menuBar()->actions())
        menus << a->text();
    // The three menus first, then the view and help menus.
    QCOMPARE(menus, (QStringList{"&Datei", "&Regatten", "&Gates", "&Ansicht", "&Hilfe"}));
    const QList<QAction *> file = w.menuBar()->actions().first()->menu()->actions();
    // The exports above a separator, "Beenden" last.
    QCOMPARE(file.size(), 4);
    QCOMPARE(file[0]->text(), QStringLiteral("Tracks exportieren…"));
    QCOMPARE(file[1]->text(), QStringLiteral("Rangliste exportieren…"));
    QVERIFY(file[2]->isSeparator());
    QCOMPARE(file[3]->text(), QStringLiteral("&Beenden"));

    // The status line: attribution, then latitude, longitude and zoom.
    QList<QLabel *> status;
    for (QLabel *label : w.statusBar()->findChildren<QLabel *>()) {
        if (label->isVisible())
            status << label;
    }
    std::sort(status.begin(), status.end(), [](const QLabel *a, const QLabel *b) { return a->x() < b->x(); });
    // The time of the last fetch after the zoom; notes that need no answer come last, at
    // the right.
    QCOMPARE(status.size(), 6);
    QCOMPARE(status.takeLast()->objectName(), QStringLiteral("statusNote"));
    QCOMPARE(status[0]->objectName(), QStringLiteral("danklabel"));
    QVERIFY(status[0]->text().startsWith(QStringLiteral("Map data CCBYSA 2014 ")));
    QVERIFY(status[0]->text().contains(QStringLiteral("OpenStreetMap")));
    QVERIFY(status[0]->text().contains(QStringLiteral("contributors")));
    QCOMPARE(status[1], w.latLabel());
    QCOMPARE(status[2], w.lngLabel());
    QCOMPARE(status[3], w.zoomLabel());
    QCOMPARE(status[4], w.lastFetchLabel());
    QCOMPARE(w.lngLabel()->indent(), 3);
    QCOMPARE(w.zoomLabel()->indent(), 5);

    // "Beenden" closes the window.
    file.last()->trigger();
    QVERIFY(!w.isVisible());
}

void MainWindowTest::preferencesRoundTripThroughTheDatabase()
{
    {
        WindowRig rig(false);
        QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadmaps=0, autoload=0, loadinterval=7, lookforupdate=0")}));
        rig.window.reset();
        rig.window = std::make_unique<MainWindow>(rig.services.services());
        MainWindow &w = *rig.window;
        QVERIFY(!w.loadMaps());
        QVERIFY(!w.autoLoad());
        QVERIFY(!w.lookForUpdate());
        QCOMPARE(w.loadInterval(), 7);
        QVERIFY(!w.settingsPage()->autoLoadBox()->isChecked());
        QVERIFY(!w.autoLoadTimer()->isActive());

        w.settingsPage()->autoLoadBox()->click();
        QVERIFY(w.autoLoad());
        QVERIFY(w.autoLoadTimer()->isActive());
        QCOMPARE(w.autoLoadTimer()->interval(), 7 * 60000);
        w.settingsPage()->loadMapsBox()->click();
        w.settingsPage()->lookForUpdateBox()->click();
        QCOMPARE(prefs(), (QVariantList{1, 1, 7, 1}));

        w.settingsPage()->autoLoadBox()->click();
        QVERIFY(!w.autoLoadTimer()->isActive());
        QCOMPARE(prefs(), (QVariantList{1, 0, 7, 1}));
        w.settingsPage()->autoLoadBox()->click();
    }
    WindowRig again(false);
    // A fresh database has the default row: the new window reads those.
    QCOMPARE(prefs(), (QVariantList{1, 1, 5, 1}));
    QVERIFY(again.window->loadMaps());
    QVERIFY(again.window->autoLoad());
    QVERIFY(again.window->autoLoadTimer()->isActive());
    QCOMPARE(again.window->autoLoadTimer()->interval(), 5 * 60000);
}

void MainWindowTest::missingPreferencesLeaveDefaults()
{
    WindowRig rig(false);
    QVERIFY(SqlHelpers::exec({QStringLiteral("DELETE FROM prefs")}));
    rig.window = std::make_unique<MainWindow>(rig.services.services());
    QVERIFY(!rig.window->loadMaps());
    QVERIFY(!rig.window->autoLoad());
    QVERIFY(rig.window->lookForUpdate());
    QCOMPARE(rig.window->loadInterval(), 5);
    QVERIFY(SqlHelpers::exec({QStringLiteral("INSERT INTO prefs VALUES (1, 1, 1, 0, 1)")}));
    rig.window = std::make_unique<MainWindow>(rig.services.services());
    // A period of no minutes would fetch without pause.
    QCOMPARE(rig.window->loadInterval(), 5);
}

void MainWindowTest::longFetchPeriodsAreCappedAtADay()
{
    WindowRig rig(false);
    // 35792 minutes and more overflow a period in milliseconds held in an int.
    for (const int minutes : {35792, 2147483647, 1441}) {
        QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadinterval=%1, autoload=1").arg(minutes)}));
        rig.window = std::make_unique<MainWindow>(rig.services.services());
        QCOMPARE(rig.window->loadInterval(), 1440);
        QVERIFY(rig.window->autoLoadTimer()->isActive());
        QCOMPARE(rig.window->autoLoadTimer()->interval(), 1440 * 60000);
    }
    QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadinterval=1440")}));
    rig.window = std::make_unique<MainWindow>(rig.services.services());
    QCOMPARE(rig.window->loadInterval(), 1440);
    QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadinterval=1")}));
    rig.window = std::make_unique<MainWindow>(rig.services.services());
    QCOMPARE(rig.window->loadInterval(), 1);
    QCOMPARE(rig.window->autoLoadTimer()->interval(), 60000);
}

void MainWindowTest::finishedRaceKeepsTheStoredAutoLoadChoice()
{
    WindowRig rig;
    rig.clock.pin(bis279 + 1);
    storeFleet();
    QCOMPARE(prefs().value(1).toInt(), 1);
    MainWindow &w = *rig.window;
    // No tile requests in flight, so that the fetch button shows the idle row.
    w.setLoadMaps(false);
    QVERIFY(rig.settle());
    rig.start(125, 279);
    QCOMPARE(w.pendingRequests(), 0);
    QCheckBox *box = w.settingsPage()->autoLoadBox();
    QVERIFY(!w.autoLoad());
    QVERIFY(!box->isEnabled());
    QVERIFY(!w.autoLoadTimer()->isActive());
    // Automatic loading is off, and the button says so.
    QVERIFY(showsIcon(w, false, false));

    // A race that is still on brings the box back as the user left it; the stored choice
    // was never touched.
    rig.clock.pin(bis279 - 10);
    w.raceMenu()->actions().at(2)->trigger();
    QVERIFY(box->isEnabled());
    QVERIFY(box->isChecked());
    QVERIFY(w.autoLoad());
    QVERIFY(w.autoLoadTimer()->isActive());
    QCOMPARE(prefs().value(1).toInt(), 1);
    QVERIFY(showsIcon(w, false, true));

    // A choice the user makes on a running race is applied and kept, also across a
    // finished race.
    box->click();
    QCOMPARE(prefs().value(1).toInt(), 0);
    rig.clock.pin(bis279 + 1);
    w.raceMenu()->actions().at(2)->trigger();
    rig.clock.pin(bis279 - 10);
    w.raceMenu()->actions().at(2)->trigger();
    QVERIFY(!box->isChecked());
    QVERIFY(!w.autoLoadTimer()->isActive());
    QCOMPARE(prefs().value(1).toInt(), 0);
}

void MainWindowTest::completeTracksStayWhenTheRaceIsChosenAgain()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 279);
    MainWindow &w = *rig.window;
    QCheckBox *box = w.settingsPage()->completeTracksBox();
    QVERIFY(!box->isChecked());
    QVERIFY(!rig.ship(101)->showCompleteTrack());

    box->click();
    QVERIFY(w.showCompleteTracks());
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT showcompletetracks FROM regatta WHERE event_id=125 AND task_id=279"))
                 .toInt(),
             1);
    for (const Ship *ship : rig.regatta->ships())
        QVERIFY(ship->showCompleteTrack());
    QCOMPARE(w.focusWidget(), w.chart());

    // Another race and back: the choice belongs to the race and comes back with it.
    w.raceMenu()->actions().at(3)->trigger();
    QVERIFY(!box->isChecked());
    w.raceMenu()->actions().at(2)->trigger();
    QVERIFY(box->isChecked());
    QVERIFY(w.showCompleteTracks());
    for (const Ship *ship : rig.regatta->ships())
        QVERIFY(ship->showCompleteTrack());
    QVERIFY(w.races().at(2).showCompleteTracks);
    QVERIFY(rig.regatta->races().at(2).showCompleteTracks);

    box->click();
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT showcompletetracks FROM regatta WHERE event_id=125 AND task_id=279"))
                 .toInt(),
             0);
    w.raceMenu()->actions().at(2)->trigger();
    QVERIFY(!box->isChecked());
    QVERIFY(!rig.ship(101)->showCompleteTrack());
}

void MainWindowTest::followingAnotherBoatUnfollowsTheFirst()
{
    WindowRig rig;
    storeFleet();
    rig.start();
    IconSelector *list = rig.window->participantList();
    Ship *bora = rig.ship(101);
    Ship *jugo = rig.ship(102);
    QVERIFY(bora && jugo);
    QVERIFY(bora->ready() && bora->hasCurrentPoint());

    list->curItem(bora->listIndex());
    QVERIFY(bora->follow());
    QCOMPARE(rig.window->chart()->center(), bora->currentPoint().position);
    QCOMPARE(RaceData::storedFollow(101), QStringLiteral("1"));

    list->curItem(QModelIndex(jugo->listIndex()).sibling(jugo->listIndex().row(), 3));
    QVERIFY(!bora->follow());
    QVERIFY(jugo->follow());
    QCOMPARE(RaceData::storedFollow(101), QStringLiteral("false"));
    QCOMPARE(RaceData::storedFollow(201), QStringLiteral("false"));
    QCOMPARE(RaceData::storedFollow(102), QStringLiteral("1"));

    // Clicking the followed boat again stops following.
    list->curItem(jugo->listIndex());
    QVERIFY(!jugo->follow());
    QCOMPARE(RaceData::storedFollow(102), QStringLiteral("0"));
}

void MainWindowTest::clickOnHiddenBoatSelectsTheFollowedRowAgain()
{
    WindowRig rig;
    storeFleet();
    rig.start();
    IconSelector *list = rig.window->participantList();
    QItemSelectionModel *selection = list->treeView()->selectionModel();
    Ship *bora = rig.ship(101);
    Ship *jugo = rig.ship(102);
    list->curItem(bora->listIndex());
    QVERIFY(bora->follow());

    // Clicking the row of a boat that is switched off follows nothing; the selection goes
    // back to the followed boat's row, all of it.
    jugo->setShow(false);
    selection->clearSelection();
    list->curItem(jugo->listIndex());
    QVERIFY(bora->follow());
    QVERIFY(!jugo->follow());
    const QModelIndexList selected = selection->selectedIndexes();
    QCOMPARE(selected.size(), 5);
    for (const QModelIndex &index : selected) {
        QCOMPARE(index.row(), bora->listIndex().row());
        QCOMPARE(index.parent(), bora->listIndex().parent());
    }
    QCOMPARE(rig.window->focusWidget(), rig.window->chart());
}

void MainWindowTest::switchingAFollowedBoatOffUnfollowsIt()
{
    WindowRig rig;
    storeFleet();
    rig.start();
    Ship *maestral = rig.ship(201);
    rig.window->participantList()->curItem(maestral->listIndex());
    QVERIFY(maestral->follow());

    TreeViewModel *model = rig.window->participantList()->model();
    QVERIFY(model->setData(maestral->listIndex(), Qt::Unchecked, Qt::CheckStateRole));
    QVERIFY(!maestral->show());
    QVERIFY(!maestral->follow());
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT show, follow FROM ship WHERE id=201")),
             (QList<QVariantList>{{0, 0}}));

    // A hidden boat cannot be followed from the list; its click re-selects nothing else.
    rig.window->participantList()->curItem(maestral->listIndex());
    QVERIFY(!maestral->follow());

    QVERIFY(model->setData(maestral->listIndex(), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(maestral->show());
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT show FROM ship WHERE id=201")).toInt(), 1);
}

void MainWindowTest::chartClickPicksBoatsWithinItsBox()
{
    WindowRig rig;
    storeFleet();
    rig.start();
    Ship *bora = rig.ship(101);
    rig.window->chart()->setCenter(bora->currentPoint().position);
    rig.window->chart()->setZoom(16);
    rig.window->chart()->refresh();
    const QPoint p = bora->pixelPos();
    QVERIFY(rig.window->chart()->rect().contains(p));

    auto pick = [&](int dx, int dy) {
        const bool before = bora->follow();
        rig.window->toggleFollowAt(p.x() + dx, p.y() + dy);
        return bora->follow() != before;
    };
    QVERIFY(pick(10, 10));   // the boat is 10 px left and above the click
    QVERIFY(pick(-9, -9));   // and 9 px right and below
    QVERIFY(!pick(11, 0));
    QVERIFY(!pick(0, -10));
    QVERIFY(!bora->follow());
    QVERIFY(pick(0, 0));
    QVERIFY(bora->follow());
    // The followed boat's row is selected.
    const QModelIndexList selected = rig.window->participantList()->treeView()->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 5);
    QCOMPARE(selected.first().row(), bora->listIndex().row());

    // A hidden boat is never picked.
    bora->setFollow(false);
    bora->setShow(false);
    QVERIFY(!pick(0, 0));
}

void MainWindowTest::fetchButtonShowsTransferState()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    QAbstractButton *fetch = w.fetchButton();

    // The four icons come from their files, and no two of them look alike.
    const QList<QPair<bool, bool>> states = {{false, false}, {true, false}, {false, true}, {true, true}};
    QCOMPARE(MainWindow::fetchIconPath(false, false), QStringLiteral("img/idleicon.png"));
    QCOMPARE(MainWindow::fetchIconPath(true, false), QStringLiteral("img/loadicon.png"));
    QCOMPARE(MainWindow::fetchIconPath(false, true), QStringLiteral("img/idleicon_auto.png"));
    QCOMPARE(MainWindow::fetchIconPath(true, true), QStringLiteral("img/loadicon_auto.png"));
    for (const auto &[outstanding, autoLoad] : states) {
        const QImage file(MainWindow::fetchIconPath(outstanding, autoLoad));
        QVERIFY(!file.isNull());
        QVERIFY(largestDifference(w.fetchIcon(outstanding, autoLoad).pixmap(file.size()).toImage(), file) <= 2);
        for (const auto &[otherOutstanding, otherAutoLoad] : states) {
            if (otherOutstanding != outstanding || otherAutoLoad != autoLoad)
                QVERIFY(largestDifference(QImage(MainWindow::fetchIconPath(otherOutstanding, otherAutoLoad)), file) > 40);
        }
    }

    w.setAutoLoad(false);
    w.setNetLedOff();
    QVERIFY(showsIcon(w, false, false));
    w.setNetLedOn();
    QVERIFY(showsIcon(w, true, false));
    QCOMPARE(fetch->toolTip(), QStringLiteral("Übertragung stoppen"));
    w.setNetLedOn();
    w.setNetLedOff();
    QVERIFY(showsIcon(w, true, false));
    w.setNetLedOff();
    QVERIFY(showsIcon(w, false, false));
    QCOMPARE(fetch->toolTip(), QStringLiteral("neueste Positionsdaten holen"));
    w.setNetLedOff();
    QCOMPARE(w.pendingRequests(), 0);

    // While a fetch is outstanding, switching automatic loading picks the loading icons.
    storeFleet();
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::Stall);
    rig.start();
    w.getData();
    QVERIFY(w.busy());
    QVERIFY(!w.settingsPage()->autoLoadBox()->isEnabled()); // the 2024 race is over
    w.settingsPage()->autoLoadBox()->setEnabled(true);
    w.settingsPage()->autoLoadBox()->click();
    QVERIFY(w.autoLoad());
    QVERIFY(showsIcon(w, true, true));
    w.settingsPage()->autoLoadBox()->click();
    QVERIFY(showsIcon(w, true, false));
    QCOMPARE(fetch->toolTip(), QStringLiteral("Übertragung stoppen"));
}

void MainWindowTest::fetchWithAutomaticLoadingOffLeavesTheTimerAlone()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 279);
    MainWindow &w = *rig.window;
    QVERIFY(!w.autoLoad());
    // A timer that runs although automatic loading is off: a fetch must neither stop it nor
    // give it another period.
    w.autoLoadTimer()->start(1234);
    w.getData();
    QVERIFY(w.autoLoadTimer()->isActive());
    QCOMPARE(w.autoLoadTimer()->interval(), 1234);
    QVERIFY(rig.settle());
    QVERIFY(w.autoLoadTimer()->isActive());
    QCOMPARE(w.autoLoadTimer()->interval(), 1234);
    w.autoLoadTimer()->stop();
}

void MainWindowTest::racesAndGatesFillTheMenus()
{
    WindowRig rig;
    storeFleet();
    rig.start(125, 280);
    QStringList raceTitles;
    for (QAction *a : rig.window->raceMenu()->actions())
        raceTitles << a->text();
    QCOMPARE(raceTitles, (QStringList{"Round Zirkavento 2010", "Round Zirkavento 2011", "Round Zirkavento 2024 , Test",
                                      "Round Zirkavento 2024 , Das Training", "Round Zirkavento 2024 , Das Rennen"}));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Brisavela2023 2.24.0 Round Zirkavento 2024 , Das Training"));
    QCOMPARE(rig.window->gateMenu()->actions().size(), 8);

    // Choosing a gate centres the chart on its anchor; of eight same-named gates the last wins.
    rig.window->gateMenu()->actions().first()->trigger();
    QCOMPARE(rig.window->chart()->center(), rig.window->gates().last()->anchor());

    // The 2010 race has gate set A.
    rig.window->raceMenu()->actions().first()->trigger();
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Brisavela2023 2.24.0 Round Zirkavento 2010"));
    QCOMPARE(rig.window->gateMenu()->actions().size(), 11);
    QCOMPARE(rig.window->gateMenu()->actions().first()->text(), QStringLiteral("Biograd Start"));
    rig.window->gateMenu()->actions().at(3)->trigger();
    QCOMPARE(rig.window->chart()->center(), rig.window->gates().at(3)->anchor());
}
