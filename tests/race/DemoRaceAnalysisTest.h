#pragma once

#include <QObject>

// The race analysis on the simulated 2024 race of the demo server, on the course the
// program has for it: the order in which the simulated boats finish is known.
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
};
