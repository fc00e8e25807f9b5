#pragma once

#include <QObject>

// A tile server that answers what no tile is: the chart keeps the grey placeholder, caches
// nothing of it, says why, and loads the tile once the server is well.
class TileFaultTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void refusedTileRepliesLeavePlaceholders_data();
    void refusedTileRepliesLeavePlaceholders();
};
