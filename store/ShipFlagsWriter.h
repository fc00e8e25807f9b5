#pragma once

#include <QSqlQuery>

// Writes which boats are shown and which one is followed, with the three statements
// prepared once when the window is built.
class ShipFlagsWriter
{
public:
    ShipFlagsWriter();

    // A boat switched on or off in the list; no transaction.
    bool writeShowFollow(int shipId, bool show, bool follow);
    // Following changed: no boat of the event is followed, then this one as given; one
    // transaction.
    bool writeFollow(int eventId, int shipId, bool follow);

private:
    QSqlQuery m_showFollow;
    QSqlQuery m_unfollowAll;
    QSqlQuery m_follow;
};
