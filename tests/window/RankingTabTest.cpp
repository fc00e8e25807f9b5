#include "tests/window/RankingTabTest.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/SpeedLegend.h"
#include "chart/SpeedScale.h"
#include "participants/IconSelector.h"
#include "race/RankingCsvWriter.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/RaceRanking.h"
#include "window/RankingExportAction.h"
#include "window/RankingModel.h"
#include "window/RankingTable.h"
#include "window/SettingsPage.h"
#include "window/SpeedColouring.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {
constexpr int von = 1712743200;

// The fleet of four on a window whose side panel shows the ranking.
struct RankingRig
{
    RankingRig()
    {
        storeFleet(von);
        rig.start();
        rig.window->toggleLegende();
        auto *tabs = rig.window->findChild<QTabWidget *>(QStringLiteral("sidePanel"));
        tabs->setCurrentWidget(table());
    }

    RankingTable *table() const { return rig.window->rankingTable(); }
    QTableView *view() const { return table()->tableView(); }
    // A column as the table shows it, top down.
    QStringList column(int c) const
    {
        QStringList cells;
        const QAbstractItemModel *m = view()->model();
        for (int row = 0; row < m->rowCount(); ++row)
            cells << m->index(row, c).data().toString();
        return cells;
    }

    WindowRig rig;
};

struct Chooser
{
    QString path;
    int asked = 0;
    QString suggested;

    RankingExportAction::FileChooser function()
    {
        return [this](QWidget *, const QString &, const QString &suggestedPath, const QString &, QString *) {
            ++asked;
            suggested = suggestedPath;
            return path;
        };
    }
};
} // namespace

void RankingTabTest::init()
{
    TestEnvironment::reset();
}

void RankingTabTest::tabListsTheSwitchedOnBoats()
{
    RankingRig r;
    auto *tabs = r.rig.window->findChild<QTabWidget *>(QStringLiteral("sidePanel"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Teilnehmer"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Einstellungen"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Rangliste"));
    QStringList headers;
    for (int c = 0; c < r.view()->model()->columnCount(); ++c)
        headers << r.view()->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"Rang", "Nr.", "Boot", "Klasse", "Nächste Marke", "Distanz (sm)", "Abstand (sm)",
                                   "Abstand (Zeit)", "Fahrt (kn)", "Kurs (°)"}));
    QCOMPARE(r.column(RankingModel::Boat).size(), 4);
    const QStringList ranks = r.column(RankingModel::Rank);

    // Switched off in the list, a boat leaves the table; the others keep their places in
    // the fleet.
    const QString jugoRank = ranks.at(r.column(RankingModel::Boat).indexOf(QStringLiteral("Jugo")));
    r.rig.window->shiponoff(r.rig.item(101), false);
    QVERIFY(!r.column(RankingModel::Boat).contains(QStringLiteral("Bora")));
    QCOMPARE(r.column(RankingModel::Boat).size(), 3);
    QCOMPARE(r.column(RankingModel::Rank).at(r.column(RankingModel::Boat).indexOf(QStringLiteral("Jugo"))), jugoRank);
    r.rig.window->shiponoff(r.rig.item(101), true);
    QCOMPARE(r.column(RankingModel::Boat).size(), 4);
}

void RankingTabTest::tabFollowsTheReplayTimeInPlace()
{
    RankingRig r;
    QSignalSpy resets(r.table()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(r.table()->model(), &QAbstractItemModel::dataChanged);
    QSlider *slider = r.rig.window->slider();
    r.rig.window->setTimeValue(von + 10 * 60);
    const QStringList early = r.column(RankingModel::Distance);
    const QStringList courses = r.column(RankingModel::Course);
    r.rig.window->setTimeValue(von + 40 * 60);
    const QStringList late = r.column(RankingModel::Distance);
    QCOMPARE(late.size(), 4);
    QVERIFY2(early != late, qPrintable(early.join(' ')));
    // Steady boats on one course: a speed and a course for each, the same all along.
    QCOMPARE(r.column(RankingModel::Course), courses);
    for (const QString &speed : r.column(RankingModel::Speed))
        QVERIFY2(speed.contains(QLatin1Char(',')), qPrintable(speed));
    // Every step changed the cells of the rows there were.
    QCOMPARE(resets.count(), 0);
    QVERIFY(changes.count() >= 2);
    QCOMPARE(slider->value(), von + 40 * 60);

    // Hidden, the tab is left alone; shown again, it catches up.
    r.rig.window->toggleLegende();
    const int updates = r.rig.window->raceRanking()->updates();
    r.rig.window->setTimeValue(von + 20 * 60);
    QCOMPARE(r.rig.window->raceRanking()->updates(), updates);
    r.rig.window->toggleLegende();
    QVERIFY(QTest::qWaitFor([&] { return r.rig.window->raceRanking()->updates() > updates; }, 2000));
    QVERIFY(r.column(RankingModel::Distance) != late);
}

void RankingTabTest::clickOnARowFollowsTheBoat()
{
    RankingRig r;
    r.rig.window->setTimeValue(von + 30 * 60);
    const int row = int(r.column(RankingModel::Boat).indexOf(QStringLiteral("Maestral")));
    QVERIFY(row >= 0);
    const QRect cell = r.view()->visualRect(r.view()->model()->index(row, RankingModel::Boat));
    QTest::mouseClick(r.view()->viewport(), Qt::LeftButton, {}, cell.center());
    const Ship *maestral = r.rig.ship(201);
    QVERIFY(maestral->follow());
    QCOMPARE(r.rig.window->chart()->center(), maestral->currentPoint().position);
    // The participant list marks it too, and it was kept.
    QVERIFY(r.rig.window->participantList()->treeView()->selectionModel()->isRowSelected(
        maestral->listIndex().row(), maestral->listIndex().parent()));
    QCOMPARE(RaceData::storedFollow(201), QStringLiteral("1"));
    // Its row stands out.
    const int now = int(r.column(RankingModel::Boat).indexOf(QStringLiteral("Maestral")));
    QVERIFY(r.view()->model()->index(now, RankingModel::Boat).data(Qt::FontRole).value<QFont>().bold());

    // A click on another boat follows that one instead.
    const int jugo = int(r.column(RankingModel::Boat).indexOf(QStringLiteral("Jugo")));
    QTest::mouseClick(r.view()->viewport(), Qt::LeftButton, {},
                      r.view()->visualRect(r.view()->model()->index(jugo, RankingModel::Rank)).center());
    QVERIFY(r.rig.ship(102)->follow());
    QVERIFY(!maestral->follow());
    QCOMPARE(RaceData::storedFollow(201), QStringLiteral("false"));
}

void RankingTabTest::sortsStartNumbersAsNumbersAndRanksByClass()
{
    RankingRig r;
    r.rig.window->setTimeValue(von + 30 * 60);
    r.view()->sortByColumn(RankingModel::Startnr, Qt::AscendingOrder);
    QCOMPARE(r.column(RankingModel::Startnr), (QStringList{"2", "7", "8", "10"}));
    r.view()->sortByColumn(RankingModel::Startnr, Qt::DescendingOrder);
    QCOMPARE(r.column(RankingModel::Startnr), (QStringList{"10", "8", "7", "2"}));
    // Stays sorted as the replay moves on.
    r.rig.window->setTimeValue(von + 45 * 60);
    QCOMPARE(r.column(RankingModel::Startnr), (QStringList{"10", "8", "7", "2"}));

    // Numbers sort by value, not as text.
    r.view()->sortByColumn(RankingModel::Distance, Qt::AscendingOrder);
    QList<double> distances;
    for (const QString &d : r.column(RankingModel::Distance))
        distances << QLocale(QLocale::German).toDouble(d);
    QVERIFY(std::is_sorted(distances.begin(), distances.end()));

    // By class: each class ranked from one, with gaps to its own leader.
    r.table()->viewBox()->setCurrentIndex(1);
    r.view()->sortByColumn(RankingModel::Rank, Qt::AscendingOrder);
    QStringList ranks = r.column(RankingModel::Rank);
    std::sort(ranks.begin(), ranks.end());
    QCOMPARE(ranks, (QStringList{"1", "1", "2", "2"}));
    const QStringList classes = r.column(RankingModel::Klasse);
    const QStringList gaps = r.column(RankingModel::GapNm);
    for (int row = 0; row < 4; ++row) {
        if (r.column(RankingModel::Rank).at(row) == QLatin1String("1"))
            QCOMPARE(gaps.at(row), QStringLiteral("0,00"));
    }
    QCOMPARE(QSet<QString>(classes.begin(), classes.end()), (QSet<QString>{"J/80", "Melges"}));
}

void RankingTabTest::exportWritesTheListedRanking()
{
    RankingRig r;
    r.rig.window->setTimeValue(von + 30 * 60);
    r.rig.window->shiponoff(r.rig.item(202), false);
    QTemporaryDir folder;
    Chooser chooser;
    chooser.path = folder.path() + QStringLiteral("/stand");
    auto *exporter = r.rig.window->findChild<RankingExportAction *>();
    QVERIFY(exporter);
    exporter->setFileChooser(chooser.function());
    r.rig.window->rankingExportAction()->trigger();
    QCOMPARE(chooser.asked, 1);
    QVERIFY2(chooser.suggested.endsWith(QLatin1String("_Rangliste.csv")), qPrintable(chooser.suggested));

    // The name typed without suffix gets one; the file holds what the tab lists, at the
    // replay time.
    QFile file(chooser.path + QStringLiteral(".csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const Ranking expected = r.rig.window->raceRanking()->shownRankingAt(von + 30 * 60);
    QCOMPARE(expected.overall().size(), 3);
    QCOMPARE(bytes, RankingCsvWriter::toCsv(expected));
    QVERIFY(!bytes.contains("Tramontana"));
    QVERIFY(bytes.contains("Maestral"));
}

void RankingTabTest::exportTellsWhyItFailed()
{
    RankingRig r;
    QTemporaryDir folder;
    Chooser chooser;
    chooser.path = folder.path() + QStringLiteral("/fehlt/stand.csv");
    r.rig.window->findChild<RankingExportAction *>()->setFileChooser(chooser.function());
    MessageRecorder boxes(r.rig.services.messages);
    r.rig.window->rankingExportAction()->trigger();
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Rangliste exportieren")});
    const MessageRequest &box = boxes.shown().first();
    QCOMPARE(box.icon, MessagePresenter::Icon::Warning);
    QCOMPARE(box.text, QStringLiteral("Die Rangliste konnte nicht in die Datei %1 geschrieben werden.").arg(chooser.path));
    QVERIFY(!box.informativeText.isEmpty());
    QVERIFY(!QFile::exists(chooser.path));

    // With every boat switched off there is nothing to write, and no dialog.
    boxes.clear();
    for (const int id : {101, 102, 201, 202})
        r.rig.window->shiponoff(r.rig.item(id), false);
    r.rig.window->rankingExportAction()->trigger();
    QCOMPARE(chooser.asked, 1);
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Information);
}

void RankingTabTest::speedColoursAreKeptAndShowTheirKey()
{
    {
        RankingRig r;
        QCheckBox *box = r.rig.window->settingsPage()->speedColoursBox();
        Karte *chart = r.rig.window->chart();
        // Off at first: the tracks keep their boats' colours.
        QVERIFY(!box->isChecked());
        QVERIFY(!chart->speedScale());
        QVERIFY(!chart->speedLegend()->isVisible());
        box->click();
        QVERIFY(chart->speedScale());
        QVERIFY(chart->speedLegend()->isVisible());
        QCOMPARE(chart->speedLegend()->scale(), *chart->speedScale());
        // The fleet sails at a steady pace: its range holds that speed.
        const double knots = SpeedScale::legKnots(r.rig.ship(101)->fullTrack(), 5);
        QVERIFY(knots > 0);
        QVERIFY(chart->speedScale()->lowKnots() <= knots && knots <= chart->speedScale()->highKnots());
    }
    // The choice is kept for the next start.
    RankingRig again;
    QVERIFY(again.rig.window->settingsPage()->speedColoursBox()->isChecked());
    QVERIFY(again.rig.window->chart()->speedLegend()->isVisible());
    again.rig.window->settingsPage()->speedColoursBox()->click();
    QVERIFY(!again.rig.window->chart()->speedLegend()->isVisible());
    QVERIFY(!again.rig.window->chart()->speedScale());
}
