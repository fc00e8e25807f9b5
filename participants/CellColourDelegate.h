#pragma once

#include <QStyledItemDelegate>

// Paints the participant list's cells as usual, except that a cell with a text colour of its
// own keeps it on a selected row: the red "letzte Meldung" of an overdue boat must stay
// red on the followed boat's row, which is the selected one.
class CellColourDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
