#pragma once

#include <QObject>

// Rankings of a small fleet on a synthetic course: order, shared ranks, classes, the boats
// chosen, and the gaps to the leader.
class RankingTest : public QObject
{
    Q_OBJECT
private slots:
    void finishedThenGatesThenDistance();
    void gapsToTheLeader();
    void onlyTheChosenBoats();
    void newCourseCountsAgain();
};
