#pragma once

#include <QString>

// One row of table regatta: a race (task) of a tracking-server event.
struct Race
{
    int id = 0;
    int eventId = 0;
    int taskId = 0;
    QString name;
    int von = 0; // race window start, seconds since 1970
    int bis = 0; // race window end
    bool showCompleteTracks = false;
};
