#pragma once

#include <QObject>

class ChartTilesTest : public QObject
{
    Q_OBJECT
private slots:
    void damagedCoastlineFilesAreRefused();
    void tilesShowLandWhereLandIs();
    void neighbouringTilesMeetWithoutSeam();
    void tilesAreDrawnOnceAndKeptOnDisk();
    void serverHandsOutTilesAsPng();
};
