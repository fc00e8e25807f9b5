#include "tests/window/MainWindowTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "tests/support/PinnedClock.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/SettingsPage.h"
#include "window/TrackingClient.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {
QVariantList prefs()
{
    return SqlHelpers::rows(QStringLiteral("SELECT loadmaps, autoload, loadinterval, lookforupdate FROM prefs")).value(0);
}

bool showsIcon(const QAbstractButton *button, const QString &file)
{
    const QImage expected(file);
    return !expected.isNull()
           && button->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32)
                  == expected.convertToFormat(QImage::Format_ARGB32);
}
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
    QVERIFY(rig.window->chart()->hasFocus());

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

void MainWindowTest::preferencesRoundTripThroughTheDatabase()
{
    {
        WindowRig rig(false);
        QVERIFY(SqlHelpers::exec({QStringLiteral("UPDATE prefs SET loadmaps=0, autoload=0, loadinterval=7, lookforupdate=0")}));
        rig.window.reset();
        rig.window = std::make_unique<MainWindow>();
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
    rig.window = std::make_unique<MainWindow>();
    QVERIFY(!rig.window->loadMaps());
    QVERIFY(!rig.window->autoLoad());
    QVERIFY(rig.window->lookForUpdate());
    QCOMPARE(rig.window->loadInterval(), 5);
    QVERIFY(SqlHelpers::exec({QStringLiteral("INSERT INTO prefs VALUES (1, 1, 1, 0, 1)")}));
    rig.window = std::make_unique<MainWindow>();
    // A period of no minutes would fetch without pause.
    QCOMPARE(rig.window->loadInterval(), 5);
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
    w.setAutoLoad(false);
    w.setNetLedOff();
    QVERIFY(showsIcon(fetch, QStringLiteral("img/idleicon.png")));
    w.setNetLedOn();
    QVERIFY(showsIcon(fetch, QStringLiteral("img/loadicon.png")));
    QCOMPARE(fetch->toolTip(), QStringLiteral("Übertragung stoppen"));
    w.setNetLedOn();
    w.setNetLedOff();
    QVERIFY(showsIcon(fetch, QStringLiteral("img/loadicon.png")));
    w.setNetLedOff();
    QVERIFY(showsIcon(fetch, QStringLiteral("img/idleicon.png")));
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
    QVERIFY(showsIcon(fetch, QStringLiteral("img/loadicon_auto.png")));
    w.settingsPage()->autoLoadBox()->click();
    QVERIFY(showsIcon(fetch, QStringLiteral("img/loadicon.png")));
    QCOMPARE(fetch->toolTip(), QStringLiteral("Übertragung stoppen"));
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
