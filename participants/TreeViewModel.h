#pragma once

#include <QStandardItemModel>

// The participant model. Checking or unchecking a row's first cell first does the same to
// every row below it, then reports the row itself.
class TreeViewModel : public QStandardItemModel
{
    Q_OBJECT
public:
    explicit TreeViewModel(const QStringList &headerLabels);

    // The number of header labels the model was built with.
    int headerLabelCount() const { return m_columnCount; }

    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void shipOnOff(const QModelIndex &index, bool on);

private:
    int m_columnCount;
};
