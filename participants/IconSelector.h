#pragma once

#include "participants/TreeShipItem.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPersistentModelIndex>
#include <QVariant>

#include <memory>

class MessagePresenter;
class QTreeView;
class Ship;
class TreeViewModel;

// The participant list: boat classes with their boats, check boxes that switch boats on
// and off, and the time of each boat's last report. Shown as a tab page of the window.
class IconSelector : public QDialog
{
    Q_OBJECT
public:
    // messages: where the boxes of failed connections go.
    IconSelector(QWidget *parent, MessagePresenter &messages);
    ~IconSelector() override;

    void clearShips();
    // Appends a class row at top-level row groupRow with one row per boat, in list order,
    // and links each boat to its row.
    void addClassGroup(const QString &className, const QList<Ship *> &ships, int groupRow);

    // Expands the rows and sizes the first two columns, after the last class group.
    void showAllRows();
    // The boat's last-report cell after a position answer: its lastget in local time, red
    // when it is older than a quarter of an hour at now, "--.--.---- --:--" when unknown.
    static void showLastReport(const Ship &ship, qint64 now);

    QTreeView *treeView() const { return m_treeView; }
    TreeViewModel *model() const { return m_model.get(); }

    // Connects the list's signals to the receiver's slots of the same meaning.
    void connectSignals(QObject *receiver);

signals:
    void shipClicked(TreeShipItem *item);
    void shipChecked(TreeShipItem *item, bool on);
    void toggleLegende();

public slots:
    void curItem(const QModelIndex &index);
    void shipOnOff(const QModelIndex &index, bool on);
    void sectionMoved(int logicalIndex, int oldVisualIndex, int newVisualIndex);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void reportFailedConnection(const char *text);

    MessagePresenter &m_messages;
    QTreeView *m_treeView;
    std::unique_ptr<TreeViewModel> m_model;
    QIcon m_groupIcon;
    // The row a mouse press in the list landed on, and its check state then: a click that
    // changed it was a click on the check box.
    QPersistentModelIndex m_pressedRow;
    QVariant m_pressedCheckState;
};
