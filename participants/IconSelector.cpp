#include "participants/IconSelector.h"

#include "chart/Ship.h"
#include "participants/CellColourDelegate.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "store/MessagePresenter.h"

#include <QBrush>
#include <QDateTime>
#include <QHeaderView>
#include <QStandardItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// A boat that has not reported for this long is shown in red.
constexpr qint64 staleAfterSeconds = 900;
} // namespace

IconSelector::IconSelector(QWidget *parent, MessagePresenter &messages)
    : QDialog(parent)
    , m_messages(messages)
    , m_treeView(new QTreeView)
{
    m_treeView->installEventFilter(this);
    m_treeView->viewport()->installEventFilter(this);
    m_treeView->setItemDelegate(new CellColourDelegate(m_treeView));
    const QStringList labels = {tr("Nr."), tr("Team"), tr("Skipper"), tr("Boot"), tr("letzte Meldung")};
    m_model = std::make_unique<TreeViewModel>(labels);
    m_treeView->setModel(m_model.get());
    m_groupIcon.addPixmap(style()->standardPixmap(QStyle::SP_DirClosedIcon), QIcon::Normal, QIcon::Off);

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_treeView);
    setLayout(layout);
    setWindowTitle(tr("Icons auswählen"));

    if (!connect(m_treeView, &QTreeView::clicked, this, &IconSelector::curItem))
        reportFailedConnection("itemClicked not connected");
    if (!connect(m_model.get(), &TreeViewModel::shipOnOff, this, &IconSelector::shipOnOff))
        reportFailedConnection("shipOnOff not connected");
    if (!connect(m_treeView->header(), &QHeaderView::sectionMoved, this, &IconSelector::sectionMoved))
        reportFailedConnection("sectionMoved not connected");
    setFocusPolicy(Qt::StrongFocus);
}

IconSelector::~IconSelector()
{
    // The view must let go of the model before the model goes.
    m_treeView->setModel(nullptr);
}

void IconSelector::clearShips()
{
    m_model->removeRows(0, m_model->rowCount());
}

void IconSelector::addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow)
{
    auto *classItem = new TreeShipItem(className, true);
    classItem->setIcon(m_groupIcon);
    m_model->setItem(groupRow, 0, classItem);
    for (Ship *ship : ships) {
        auto *item = new TreeShipItem(ship->startnr(), ship->name(), ship->skipper(), ship->team(), ship->farbe(),
                                      ship->id(), ship->show());
        classItem->appendRow(item->rowCells());
        ship->setListIndex(QPersistentModelIndex(item->index()));
        ship->setLastReportCell(item->lastReportCell());
    }
    m_treeView->setFirstColumnSpanned(groupRow, QModelIndex(), true);
}

void IconSelector::showAllRows()
{
    m_treeView->expandAll();
    m_treeView->resizeColumnToContents(0);
    m_treeView->resizeColumnToContents(1);
}

void IconSelector::showLastReport(const Ship &ship, qint64 now)
{
    QStandardItem *cell = ship.lastReportCell();
    if (!cell)
        return;
    const int lastget = ship.lastget();
    // Compared unsigned, as the reports have always been.
    const bool overdue = quint64(qint64(lastget)) < quint64(now - staleAfterSeconds);
    cell->setForeground(QBrush(overdue ? Qt::red : Qt::black, Qt::SolidPattern));
    cell->setText(lastget == 0 ? QStringLiteral("--.--.---- --:--")
                               : QDateTime::fromSecsSinceEpoch(lastget).toLocalTime().toString(
                                     QStringLiteral("dd.MM.yyyy hh:mm")));
}

void IconSelector::connectSignals(QObject *receiver)
{
    if (!connect(this, SIGNAL(toggleLegende()), receiver, SLOT(toggleLegende())))
        reportFailedConnection("toggleLegende not connected");
    if (!connect(this, SIGNAL(shipClicked(TreeShipItem *)), receiver, SLOT(checkship(TreeShipItem *))))
        reportFailedConnection("shipClicked not connected");
    if (!connect(this, SIGNAL(shipChecked(TreeShipItem *, bool)), receiver, SLOT(shiponoff(TreeShipItem *, bool))))
        reportFailedConnection("shipChecked not connected");
}

void IconSelector::reportFailedConnection(const char *text)
{
    m_messages.show(MessagePresenter::Icon::Critical, QStringLiteral("cono"), QString::fromLatin1(text),
                    MessageRequest::Ok);
}

void IconSelector::shipOnOff(const QModelIndex &index, bool on)
{
    if (!index.isValid())
        return;
    if (auto *item = dynamic_cast<TreeShipItem *>(m_model->itemFromIndex(index)))
        emit shipChecked(item, on);
}

void IconSelector::curItem(const QModelIndex &index)
{
    if (!index.parent().isValid())
        return;
    const QModelIndex first = m_model->index(index.row(), 0, index.parent());
    // The view reports a click on a check box as a click on its row as well; switching a
    // boat on or off must not also make the chart follow it.
    const bool checkBoxClick = first == m_pressedRow && first.data(Qt::CheckStateRole) != m_pressedCheckState;
    m_pressedRow = QPersistentModelIndex();
    if (checkBoxClick)
        return;
    if (auto *item = dynamic_cast<TreeShipItem *>(m_model->itemFromIndex(first)))
        emit shipClicked(item);
}

void IconSelector::sectionMoved(int logicalIndex, int oldVisualIndex, int newVisualIndex)
{
    QHeaderView *header = m_treeView->header();
    if (logicalIndex == 0 && newVisualIndex > 0)
        header->moveSection(newVisualIndex, 0);
    else if (logicalIndex != 0 && newVisualIndex == 0)
        header->moveSection(0, oldVisualIndex);
}

bool IconSelector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_treeView->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QModelIndex at = m_treeView->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        m_pressedRow = at.siblingAtColumn(0);
        m_pressedCheckState = m_pressedRow.data(Qt::CheckStateRole);
        return false;
    }
    if (watched == m_treeView && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
        emit toggleLegende();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void IconSelector::keyPressEvent(QKeyEvent *event)
{
    // As a dialog, Escape would reject and hide the list inside its tab page.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
