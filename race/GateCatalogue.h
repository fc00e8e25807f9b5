#pragma once

#include <QList>
#include <QString>

// One course gate or mark as built into the program, in the order the gate item takes
// its values. A second end of (0, 0) is derived from course and length.
struct GateDefinition
{
    double lat1;
    double lng1;
    double lat2;
    double lng2;
    double bearing;
    double length;
    QString name;
    bool midFlag;
};

// The gates of the known races. Not stored in the database: a race's event and task id
// choose one of five sets, or none.
class GateCatalogue
{
public:
    enum class Set { None, A, B, C, D, E };

    static Set setFor(int eventId, int taskId);
    static QList<GateDefinition> gates(Set set);
    static QList<GateDefinition> gatesFor(int eventId, int taskId) { return gates(setFor(eventId, taskId)); }
};
