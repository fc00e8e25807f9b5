#pragma once

#include <QColor>
#include <QStandardItem>

// The first cell of a participant-list row: a boat class (shipId 9999) or one boat, with
// its check box. A boat row's item also creates the other four cells of its row.
class TreeShipItem : public QStandardItem
{
public:
    static constexpr qint32 classRowId = 9999;

    // A class row: bold, checkable, not selectable.
    TreeShipItem(const QString &text, bool checked);
    // A boat row: start number with a swatch of the boat's colour.
    TreeShipItem(const QString &startnr, const QString &name, const QString &skipper, const QString &team,
                 const QColor &colour, qint32 shipId, bool shown);

    qint32 shipId() const { return m_shipId; }
    QString caption() const { return m_caption; }

    QStandardItem *nameCell() const { return m_nameCell; }
    QStandardItem *skipperCell() const { return m_skipperCell; }
    QStandardItem *teamCell() const { return m_teamCell; }
    QStandardItem *lastReportCell() const { return m_lastReportCell; }

    // The cells of a boat row in column order: this item, team, skipper, boat name and
    // last report. The model owns them once the row is inserted.
    QList<QStandardItem *> rowCells();

private:
    qint32 m_shipId;
    QString m_caption;
    QStandardItem *m_nameCell = nullptr;
    QStandardItem *m_skipperCell = nullptr;
    QStandardItem *m_teamCell = nullptr;
    QStandardItem *m_lastReportCell = nullptr;
};
