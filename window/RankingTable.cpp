#include "window/RankingTable.h"

#include "window/RankingModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

RankingTable::RankingTable(QWidget *parent)
    : QWidget(parent)
    , m_view(new QComboBox)
    , m_table(new QTableView)
    , m_model(new RankingModel(this))
    , m_sorted(new QSortFilterProxyModel(this))
{
    m_view->setObjectName(QStringLiteral("rankingView"));
    m_view->addItem(tr("Gesamt"));
    m_view->addItem(tr("Nach Klassen"));
    auto *choice = new QHBoxLayout;
    choice->addWidget(new QLabel(tr("Wertung")));
    choice->addWidget(m_view);
    choice->addStretch();

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(RankingModel::sortRole);
    // A sorted column stays sorted as the values change from step to step.
    m_sorted->setDynamicSortFilter(true);
    m_table->setObjectName(QStringLiteral("rankingTable"));
    m_table->setModel(m_sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(RankingModel::Rank, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);

    auto *page = new QVBoxLayout(this);
    page->addLayout(choice);
    page->addWidget(m_table);

    connect(m_table, &QTableView::clicked, this, [this](const QModelIndex &index) {
        const int id = m_model->boatIdAt(m_sorted->mapToSource(index).row());
        if (id != 0)
            emit boatClicked(id);
    });
    connect(m_view, &QComboBox::currentIndexChanged, this, &RankingTable::rankingWanted);
}

bool RankingTable::byClass() const
{
    return m_view->currentIndex() == 1;
}

bool RankingTable::seen() const
{
    return isVisible() && width() > 0 && height() > 0;
}

void RankingTable::showRanking(const Ranking &ranking, int followedId)
{
    const bool first = m_model->rowCount() == 0;
    m_model->setRanking(ranking, byClass(), followedId);
    // Sized to the first boats shown; after that the user's widths stay.
    if (first && m_model->rowCount() > 0)
        m_table->resizeColumnsToContents();
}

void RankingTable::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit rankingWanted();
}

void RankingTable::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The side panel opened from its closed strip.
    if (event->oldSize().isEmpty() && !event->size().isEmpty())
        emit rankingWanted();
}
