#pragma once

#include <QObject>

// The courses the program makes of the gate catalogue's sets.
class CourseCatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void everySetMakesACourse_data();
    void everySetMakesACourse();
    void setERunsOutAlongTheRouteAndBack();
};
