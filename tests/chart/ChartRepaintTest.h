#pragma once

#include <QObject>

class ChartRepaintTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void loadedTilesRedrawTheItemsOverThem();
};
