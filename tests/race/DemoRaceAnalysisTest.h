#pragma once

#include <QObject>

// The race analysis on the simulated races of the demo server, on the courses the program
// has for them: the order in which the simulated boats of 2024 finish is known, and every
// boat of the other races comes round its course.
class DemoRaceAnalysisTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rankingAtTheEndIsTheFinishingOrder();
    void leaderClosesOnTheFinish();
    void positionsAsTheServerHandsThemOut();
    void feedKeepsUpWithGrowingTracks();
    void feedTakesPastPositionsAndNewBoatsWhole();
    void everyBoatSailsTheCatalogueCourse_data();
    void everyBoatSailsTheCatalogueCourse();
};
