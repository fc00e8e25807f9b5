#pragma once

#include <QObject>

class IconSelectorTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsClassAndBoatRows();
    void uncheckingAClassSwitchesItsBoatsFirst();
    void clicksOnBoatRowsOnlyReportTheBoat();
    void checkBoxClickSwitchesTheBoatOnly();
    void selectedRowKeepsTheOverdueColour();
    void spaceTogglesTheLegendOnly();
    void numberColumnStaysFirst();
    void failedConnectionsAreReported();
    void escapeKeepsTheListShown();
};
