#pragma once

#include <QObject>

class TrackingProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    void positionLines_data();
    void positionLines();
    void boatLines_data();
    void boatLines();
    void bodiesSplitIntoLines();
    void paletteRepeatsAfterFifteen();
    void arbitraryInputNeverYieldsAnInvalidRecord();
};
