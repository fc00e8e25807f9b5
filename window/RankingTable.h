#pragma once

#include <QWidget>

class QComboBox;
class QSortFilterProxyModel;
class QTableView;
class Ranking;
class RankingModel;

// The "Rangliste" tab: the ranking at the replay time in a sortable table, overall or by
// class. A click on a boat's row asks to follow it.
class RankingTable : public QWidget
{
    Q_OBJECT
public:
    explicit RankingTable(QWidget *parent = nullptr);

    void showRanking(const Ranking &ranking, int followedId);
    bool byClass() const;
    // Whether anybody sees the table: a hidden tab or a closed side panel need no updates.
    bool seen() const;

    QComboBox *viewBox() const { return m_view; }
    QTableView *tableView() const { return m_table; }
    RankingModel *model() const { return m_model; }

signals:
    void boatClicked(int boatId);
    // Shown again, or switched between overall and by class: the table wants a ranking.
    void rankingWanted();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QComboBox *m_view;
    QTableView *m_table;
    RankingModel *m_model;
    QSortFilterProxyModel *m_sorted;
};
