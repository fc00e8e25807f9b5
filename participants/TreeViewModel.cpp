#include "participants/TreeViewModel.h"

TreeViewModel::TreeViewModel(const QStringList &headerLabels)
    : m_columnCount(int(headerLabels.size()))
{
    setHorizontalHeaderLabels(headerLabels);
    for (int c = 0; c < m_columnCount; ++c) {
        if (QStandardItem *header = horizontalHeaderItem(c))
            header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

bool TreeViewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (index.isValid() && index.column() == 0 && role == Qt::CheckStateRole) {
        const int children = rowCount(index);
        for (int r = 0; r < children; ++r)
            setData(this->index(r, 0, index), value, role);
        emit shipOnOff(index, value.toInt() == Qt::Checked);
    }
    return QStandardItemModel::setData(index, value, role);
}
