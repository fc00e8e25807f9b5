#include "window/FleetView.h"

#include "chart/ChartFit.h"
#include "chart/ChartOwner.h"
#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "race/Regatta.h"

#include <QWidget>

namespace {
bool hasPlace(const Ship *ship)
{
    return ship->ready() && ship->pointCount() > 0 && ship->hasCurrentPoint();
}
} // namespace

FleetView::FleetView(Karte *chart, ChartOwner *owner)
    : m_chart(chart)
    , m_owner(owner)
{
}

QList<GeoPoint> FleetView::fleetPositions() const
{
    QList<GeoPoint> places;
    if (!m_regatta)
        return places;
    for (const Ship *ship : m_regatta->ships()) {
        if (ship->show() && hasPlace(ship))
            places << ship->currentPoint().position;
    }
    return places;
}

QList<GeoPoint> FleetView::coursePositions() const
{
    QList<GeoPoint> places;
    if (!m_regatta)
        return places;
    for (const GateItem *gate : m_regatta->gates())
        places << gate->geoEnd1() << gate->geoEnd2();
    return places;
}

bool FleetView::showFleet()
{
    return show(fleetPositions());
}

bool FleetView::showCourse()
{
    return show(coursePositions());
}

bool FleetView::show(const QList<GeoPoint> &places)
{
    const std::optional<ChartFit::View> view =
        ChartFit::fit(places, m_chart->viewport()->size(), Karte::minZoom, Karte::maxZoom);
    if (!view)
        return false;
    // As with panning: a followed boat would pull the chart away again on the next step.
    if (m_owner->animating())
        m_owner->clearFollow();
    m_chart->setCenter(view->centre);
    m_chart->setZoom(view->zoom);
    m_chart->refresh();
    m_owner->setZoomStatus(view->zoom);
    return true;
}

bool FleetView::boatInView() const
{
    QList<QPoint> pixels;
    for (const Ship *ship : m_regatta->ships()) {
        if (ship->show() && hasPlace(ship))
            pixels << ship->pixelPos();
    }
    return ChartFit::anyInside(pixels, m_chart->viewport()->size());
}

bool FleetView::gateInView() const
{
    QList<QPoint> pixels;
    for (const GateItem *gate : m_regatta->gates())
        pixels << gate->pixelEnd1() << gate->pixelEnd2() << (gate->pixelEnd1() + gate->pixelEnd2()) / 2;
    return ChartFit::anyInside(pixels, m_chart->viewport()->size());
}

bool FleetView::placed()
{
    if (!m_fitPending || !m_regatta || m_chart->viewport()->size().isEmpty() || fleetPositions().isEmpty())
        return false;
    m_fitPending = false;
    // A course in view is no reason to keep a chart that shows no boat, unless the user
    // chose that view of the race (the start, say, while the replay opens at the finish).
    if (boatInView() || (m_viewRestored && gateInView()))
        return false;
    return showFleet();
}
