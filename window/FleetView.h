#pragma once

#include "chart/GeoPoint.h"

#include <QList>

class ChartOwner;
class Karte;
class Regatta;

// Bringing the race into view: the whole fleet or the whole course, at the largest zoom that
// holds it, and once after a race is loaded when its boats would not be in view.
class FleetView
{
public:
    // chart and owner: not owned; the owner hears of the new zoom and of following stopped.
    FleetView(Karte *chart, ChartOwner *owner);

    void setRegatta(const Regatta *regatta) { m_regatta = regatta; }

    // Where the boats switched on are at the replay time.
    QList<GeoPoint> fleetPositions() const;
    // Both ends of every gate of the race.
    QList<GeoPoint> coursePositions() const;

    // False (and nothing changes) when there is nothing to show.
    bool showFleet();
    bool showCourse();

    // A race is being loaded: the next placement with positions may bring it into view.
    // viewRestored: the chart shows the view the user last had of this race.
    void raceLoading(bool viewRestored)
    {
        m_fitPending = true;
        m_viewRestored = viewRestored;
    }
    // The boats have been placed and the chart refreshed (the window calls this when no
    // answer with positions is outstanding). The first time after a race was loaded that a
    // boat has a position, the fleet is shown if no boat switched on is in
    // view; in the user's own view of the race also a gate in view keeps it. True when
    // the fleet was shown.
    bool placed();
    bool fitPending() const { return m_fitPending; }

private:
    bool show(const QList<GeoPoint> &places);
    bool boatInView() const;
    bool gateInView() const;

    Karte *m_chart;
    ChartOwner *m_owner;
    const Regatta *m_regatta = nullptr;
    bool m_fitPending = false;
    bool m_viewRestored = false;
};
