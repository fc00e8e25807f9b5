#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

// "Tastenkürzel": every key and mouse action of the window, in a window of its own that can
// stay open beside the chart.
class KeysDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KeysDialog(QWidget *parent = nullptr);

    // What to press or do, and what it does.
    static QList<QPair<QString, QString>> entries();
};
