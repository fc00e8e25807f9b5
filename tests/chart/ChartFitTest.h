#pragma once

#include <QObject>

class ChartFitTest : public QObject
{
    Q_OBJECT
private slots:
    void spreadFleetGetsTheLargestZoomThatHoldsIt();
    void singlePlaceAndTooWideSpreadStayInTheZoomRange();
    void nothingToFitGivesNoView();
};
