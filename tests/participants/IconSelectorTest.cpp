#include "tests/participants/IconSelectorTest.h"

#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "tests/support/MessageRecorder.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {
struct Fleet
{
    Fleet()
    {
        add(11, "J/80", "2", "Bora", "Team Nord", "Ana", "#ff008a", true);
        add(12, "J/80", "10", "Jugo", "Team Süd", "Ivo", "#00ffcc", false);
        add(21, "Melges", "7", "Maestral", "Lokal", "Eva", "#9000ff", true);
    }
    void add(int id, const char *klasse, const char *nr, const char *name, const char *team, const char *skipper,
             const char *colour, bool show)
    {
        auto ship = std::make_unique<Ship>(id, QString::fromUtf8(name), QString(), QString());
        ship->setKlasse(QString::fromUtf8(klasse));
        ship->setStartnr(QString::fromUtf8(nr));
        ship->setTeam(QString::fromUtf8(team));
        ship->setSkipper(QString::fromUtf8(skipper));
        ship->setFarbe(QString::fromLatin1(colour));
        ship->setShow(show);
        ships.push_back(std::move(ship));
    }
    QList<Ship *> of(const char *klasse) const
    {
        QList<Ship *> result;
        for (const auto &s : ships) {
            if (s->klasse() == QLatin1String(klasse))
                result << s.get();
        }
        return result;
    }
    void fill(IconSelector &list) const
    {
        list.addClassGroup(QStringLiteral("J/80"), of("J/80"), 0);
        list.addClassGroup(QStringLiteral("Melges"), of("Melges"), 1);
    }
    std::vector<std::unique_ptr<Ship>> ships;
};

// Where the view draws the check box of a cell, as the style lays out a checkable item.
QPoint checkBoxCentre(QTreeView *view, const QModelIndex &index)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay
                      | QStyleOptionViewItem::HasDecoration;
    option.text = index.data().toString();
    option.icon = index.data(Qt::DecorationRole).value<QIcon>();
    option.decorationSize = view->iconSize().isValid() ? view->iconSize() : QSize(16, 16);
    option.checkState = index.data(Qt::CheckStateRole).value<Qt::CheckState>();
    return view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view).center();
}

// The program's style sheet, for as long as the object lives.
class StyleSheet
{
public:
    StyleSheet()
    {
        QFile file(QStringLiteral("css/brisavela.qss"));
        if (file.open(QIODevice::ReadOnly))
            qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
    }
    ~StyleSheet() { qApp->setStyleSheet(QString()); }
    bool applied() const { return !qApp->styleSheet().isEmpty(); }
};

QList<int> ids(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &args : spy)
        result << args.at(0).value<TreeShipItem *>()->shipId();
    return result;
}
} // namespace

void IconSelectorTest::buildsClassAndBoatRows()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    QSignalSpy checked(&list, &IconSelector::shipChecked);
    Fleet fleet;
    fleet.fill(list);
    list.addClassGroup(QStringLiteral("Leer"), {}, 2);
    QVERIFY(checked.isEmpty());

    TreeViewModel *model = list.model();
    QCOMPARE(model->columnCount(), 5);
    QCOMPARE(model->headerLabelCount(), 5);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nr."));
    QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("letzte Meldung"));
    QCOMPARE(list.windowTitle(), QStringLiteral("Icons auswählen"));
    QCOMPARE(model->rowCount(), 3);

    auto *j80 = static_cast<TreeShipItem *>(model->item(0, 0));
    QCOMPARE(j80->text(), QStringLiteral("J/80"));
    QCOMPARE(j80->shipId(), 9999);
    QVERIFY(j80->font().bold());
    QCOMPARE(j80->checkState(), Qt::Checked);
    QVERIFY(!(j80->flags() & Qt::ItemIsSelectable));
    QVERIFY(list.treeView()->isFirstColumnSpanned(0, QModelIndex()));
    QCOMPARE(j80->rowCount(), 2);
    QCOMPARE(model->item(2, 0)->rowCount(), 0);

    auto *second = static_cast<TreeShipItem *>(j80->child(1, 0));
    QCOMPARE(second->shipId(), 12);
    QCOMPARE(second->text(), QStringLiteral("10"));
    QCOMPARE(second->checkState(), Qt::Unchecked);
    QVERIFY(second->flags() & Qt::ItemIsSelectable);
    QCOMPARE(j80->child(1, 1)->text(), QStringLiteral("Team Süd"));
    QCOMPARE(j80->child(1, 2)->text(), QStringLiteral("Ivo"));
    QCOMPARE(j80->child(1, 3)->text(), QStringLiteral("Jugo"));
    QCOMPARE(j80->child(1, 4)->text(), QStringLiteral("0"));
    QVERIFY(!j80->child(1, 3)->isEditable());
    QVERIFY(j80->child(1, 4)->isEditable());
    QCOMPARE(second->icon().pixmap(12, 12).toImage().pixelColor(6, 6), QColor(0x00, 0xff, 0xcc));

    // Each boat knows its row and its last-report cell.
    Ship *jugo = fleet.ships[1].get();
    QCOMPARE(jugo->listIndex(), QPersistentModelIndex(second->index()));
    QCOMPARE(jugo->lastReportCell(), j80->child(1, 4));

    list.clearShips();
    QCOMPARE(model->rowCount(), 0);
}

void IconSelectorTest::uncheckingAClassSwitchesItsBoatsFirst()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    Fleet fleet;
    fleet.fill(list);
    QSignalSpy checked(&list, &IconSelector::shipChecked);
    const QModelIndex j80 = list.model()->index(0, 0);
    QVERIFY(list.model()->setData(j80, Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(ids(checked), (QList<int>{11, 12, 9999}));
    for (const QList<QVariant> &args : checked)
        QCOMPARE(args.at(1).toBool(), false);
    QCOMPARE(list.model()->itemFromIndex(list.model()->index(0, 0, j80))->checkState(), Qt::Unchecked);

    checked.clear();
    const QModelIndex maestral = list.model()->index(0, 0, list.model()->index(1, 0));
    QVERIFY(list.model()->setData(maestral, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(ids(checked), QList<int>{21});
    QCOMPARE(checked.first().at(1).toBool(), true);
}

void IconSelectorTest::clicksOnBoatRowsOnlyReportTheBoat()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    Fleet fleet;
    fleet.fill(list);
    list.resize(600, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.treeView()->expandAll();
    QSignalSpy clicked(&list, &IconSelector::shipClicked);
    QTreeView *view = list.treeView();

    auto click = [view](const QModelIndex &index) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    };
    click(list.model()->index(0, 0));
    QVERIFY(clicked.isEmpty());
    const QModelIndex jugoRow = list.model()->index(1, 0, list.model()->index(0, 0));
    click(jugoRow.sibling(1, 3));
    QCOMPARE(ids(clicked), QList<int>{12});
    click(list.model()->index(0, 2, list.model()->index(1, 0)));
    QCOMPARE(ids(clicked), (QList<int>{12, 21}));
}

void IconSelectorTest::checkBoxClickSwitchesTheBoatOnly()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    Fleet fleet;
    fleet.fill(list);
    list.resize(600, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.treeView()->expandAll();
    QSignalSpy clicked(&list, &IconSelector::shipClicked);
    QSignalSpy checked(&list, &IconSelector::shipChecked);
    QTreeView *view = list.treeView();
    const QModelIndex jugo = list.model()->index(1, 0, list.model()->index(0, 0));

    // A click on the check box switches the boat, and that is all it does.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxCentre(view, jugo));
    QCOMPARE(ids(checked), QList<int>{12});
    QCOMPARE(checked.first().at(1).toBool(), true);
    QVERIFY(clicked.isEmpty());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxCentre(view, jugo));
    QCOMPARE(ids(checked), (QList<int>{12, 12}));
    QCOMPARE(checked.last().at(1).toBool(), false);
    QVERIFY(clicked.isEmpty());

    // A click elsewhere in the same cell still reports the boat, and switches nothing.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(jugo).topRight() + QPoint(-3, 3));
    QCOMPARE(ids(clicked), QList<int>{12});
    QCOMPARE(checked.size(), 2);
}

void IconSelectorTest::selectedRowKeepsTheOverdueColour()
{
    StyleSheet sheet;
    QVERIFY(sheet.applied());
    TestMessages messages;
    IconSelector list(nullptr, messages);
    Fleet fleet;
    fleet.fill(list);
    list.resize(700, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTreeView *view = list.treeView();
    view->expandAll();
    for (int c = 0; c < 5; ++c)
        view->resizeColumnToContents(c);

    // An overdue boat, red in "letzte Meldung", selected as the followed boat's row is.
    Ship *bora = fleet.ships[0].get();
    bora->lastReportCell()->setForeground(QBrush(Qt::red));
    bora->lastReportCell()->setText(QStringLiteral("10.04.2024 12:00"));
    const QModelIndex first = bora->listIndex();
    view->selectionModel()->select(QItemSelection(first, first.siblingAtColumn(4)), QItemSelectionModel::SelectCurrent);

    const QRect cell = view->visualRect(first.siblingAtColumn(4));
    const QImage shot = view->viewport()->grab(cell).toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 150 && c.red() > c.green() + 80 && c.red() > c.blue() + 80 ? 1 : 0;
        }
    }
    QVERIFY2(red >= 20, qPrintable(QStringLiteral("%1 red pixels").arg(red)));
}

void IconSelectorTest::spaceTogglesTheLegendOnly()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    Fleet fleet;
    fleet.fill(list);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy legend(&list, &IconSelector::toggleLegende);
    QSignalSpy checked(&list, &IconSelector::shipChecked);
    QTreeView *view = list.treeView();
    const QModelIndex bora = list.model()->index(0, 0, list.model()->index(0, 0));
    view->setCurrentIndex(bora);
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(legend.size(), 1);
    QVERIFY(checked.isEmpty());
    QCOMPARE(list.model()->itemFromIndex(bora)->checkState(), Qt::Checked);
    QCOMPARE(view->selectionModel()->selectedIndexes(), selected);
}

void IconSelectorTest::numberColumnStaysFirst()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    QHeaderView *header = list.treeView()->header();
    header->moveSection(0, 3);
    QCOMPARE(header->visualIndex(0), 0);
    header->moveSection(2, 0);
    QCOMPARE(header->visualIndex(0), 0);
    QCOMPARE(header->visualIndex(2), 2);
    // Columns other than the first move freely behind it.
    header->moveSection(4, 1);
    QCOMPARE(header->visualIndex(4), 1);
    QCOMPARE(header->visualIndex(0), 0);
}

void IconSelectorTest::failedConnectionsAreReported()
{
    MessageRecorder boxes;
    IconSelector list(nullptr, boxes);
    QObject noSlots;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QObject::connect: No such slot.*")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QObject::connect: No such slot.*")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QObject::connect: No such slot.*")));
    list.connectSignals(&noSlots);
    QCOMPARE(boxes.titles(), (QStringList{"cono", "cono", "cono"}));
    QCOMPARE(boxes.shown()[0].text, QStringLiteral("toggleLegende not connected"));
    QCOMPARE(boxes.shown()[1].text, QStringLiteral("shipClicked not connected"));
    QCOMPARE(boxes.shown()[2].text, QStringLiteral("shipChecked not connected"));
    QCOMPARE(boxes.shown()[0].icon, MessagePresenter::Icon::Critical);
}

void IconSelectorTest::escapeKeepsTheListShown()
{
    TestMessages messages;
    IconSelector list(nullptr, messages);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTest::keyClick(list.treeView(), Qt::Key_Escape);
    QTest::keyClick(&list, Qt::Key_Escape);
    QVERIFY(list.isVisible());
}
