#include "window/ReadoutTips.h"

#include "chart/AgeText.h"
#include "chart/BoatReadout.h"
#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "race/Regatta.h"
#include "store/Clock.h"

#include <QHelpEvent>
#include <QStandardItem>
#include <QLineF>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int lastReportColumn = 4;

double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    if (length2 <= 0.0)
        return QLineF(p, a).length();
    const double s = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    return QLineF(p, a + s * ab).length();
}
} // namespace

ReadoutTips::ReadoutTips(Karte *chart, IconSelector *list, const Clock &clock, std::function<qint64()> replayTime,
                         QObject *parent)
    : QObject(parent)
    , m_chart(chart)
    , m_list(list)
    , m_clock(clock)
    , m_replayTime(std::move(replayTime))
{
    m_chart->viewport()->installEventFilter(this);
    m_list->treeView()->viewport()->installEventFilter(this);
}

const Ship *ReadoutTips::boatAt(const QPoint &pixel) const
{
    if (!m_regatta)
        return nullptr;
    const Ship *nearest = nullptr;
    int best = 0;
    for (const Ship *ship : m_regatta->ships()) {
        if (!ship->show() || !ship->ready() || ship->pointCount() <= 0 || !ship->hasCurrentPoint())
            continue;
        const QPoint d = ship->pixelPos() - pixel;
        if (std::abs(d.x()) > boatReach || std::abs(d.y()) > boatReach)
            continue;
        const int distance = QPoint::dotProduct(d, d);
        if (!nearest || distance < best) {
            nearest = ship;
            best = distance;
        }
    }
    return nearest;
}

const GateItem *ReadoutTips::gateAt(const QPoint &pixel) const
{
    if (!m_regatta)
        return nullptr;
    for (const GateItem *gate : m_regatta->gates()) {
        if (distanceToSegment(pixel, gate->pixelEnd1(), gate->pixelEnd2()) <= gateReach)
            return gate;
    }
    return nullptr;
}

QString ReadoutTips::chartTextAt(const QPoint &pixel) const
{
    if (const Ship *ship = boatAt(pixel))
        return BoatReadout::ofShip(*ship, m_replayTime());
    if (const GateItem *gate = gateAt(pixel))
        return BoatReadout::ofGate(*gate);
    return {};
}

QString ReadoutTips::listText(const QModelIndex &index) const
{
    if (!m_regatta || !index.isValid() || !index.parent().isValid())
        return {};
    const auto *item = dynamic_cast<const TreeShipItem *>(
        m_list->model()->itemFromIndex(index.siblingAtColumn(0)));
    if (!item)
        return {};
    for (const Ship *ship : m_regatta->ships()) {
        if (ship->id() != item->shipId())
            continue;
        QString text = BoatReadout::ofShip(*ship, m_replayTime());
        // The column's own time is that of the last report as of now, not of the replay.
        if (index.column() == lastReportColumn && ship->lastget() > 0)
            text += QStringLiteral("\nLetzte Meldung %1").arg(AgeText::since(m_clock.nowSeconds() - ship->lastget()));
        return text;
    }
    return {};
}

bool ReadoutTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    QWidget *viewport = qobject_cast<QWidget *>(watched);
    QString text;
    if (watched == m_chart->viewport())
        text = chartTextAt(help->pos());
    else if (watched == m_list->treeView()->viewport())
        text = listText(m_list->treeView()->indexAt(help->pos()));
    else
        return QObject::eventFilter(watched, event);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // The readout goes when the pointer leaves the spot it is about.
    QToolTip::showText(help->globalPos(), text, viewport, QRect(help->pos() - QPoint(8, 8), QSize(17, 17)));
    return true;
}
