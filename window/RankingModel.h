#pragma once

#include "race/Standing.h"

#include <QAbstractTableModel>
#include <QList>

class Ranking;

// The rows of the "Rangliste" tab: the standings at the replay time, overall or class by
// class. Changed in place on every replay step; only a change of the boats listed resets it.
// Each cell also gives a sort key (Qt::UserRole): numbers as numbers, start numbers with
// "2" before "10", unknown values last.
class RankingModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Rank, Startnr, Boat, Klasse, NextMark, Distance, GapNm, GapTime, Speed, Course, ColumnCount };
    static constexpr int sortRole = Qt::UserRole;

    explicit RankingModel(QObject *parent = nullptr);

    // byClass: each class ranked on its own, the classes in the order of their best boats.
    void setRanking(const Ranking &ranking, bool byClass, int followedId);
    int boatIdAt(int row) const;
    const Standing &standingAt(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The texts of the cells, as the table shows them.
    static QString gapTimeText(double seconds);
    static QString decimalText(double value, int places);

private:
    QString text(const Standing &s, int column) const;
    QVariant sortKey(const Standing &s, int column) const;

    QList<Standing> m_rows;
    bool m_byClass = false;
    int m_followedId = 0;
};
