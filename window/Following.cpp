#include "window/Following.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "participants/TreeShipItem.h"
#include "participants/TreeViewModel.h"
#include "race/Regatta.h"

#include <QItemSelectionModel>
#include <QTreeView>

Following::Following(Karte *chart, IconSelector *list, std::function<bool()> animating)
    : m_chart(chart)
    , m_list(list)
    , m_animating(std::move(animating))
{
}

Ship *Following::firstShip(int id, bool mustBeShown) const
{
    if (!m_regatta)
        return nullptr;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->id() == id && (!mustBeShown || ship->show()))
            return ship;
    }
    return nullptr;
}

bool Following::toggle(Ship *ship)
{
    if (ship->follow()) {
        ship->setFollow(false);
        return false;
    }
    ship->unfollowAll();
    ship->setFollow(true);
    return true;
}

void Following::checkship(TreeShipItem *item)
{
    Ship *ship = item ? firstShip(item->shipId(), true) : nullptr;
    if (ship) {
        followOrLeave(ship);
    } else if (m_regatta) {
        // A class row, or a boat switched off: the followed boat's row is selected again.
        for (const Ship *followed : m_regatta->ships()) {
            if (!followed->follow())
                continue;
            if (followed->listIndex().isValid())
                selectRow(followed);
            break;
        }
    }
    m_chart->setFocus();
}

void Following::followOrLeave(Ship *ship)
{
    if (toggle(ship) && ship->pointCount() > 0 && ship->hasCurrentPoint())
        m_chart->setCenter(ship->currentPoint().position);
    if (!m_animating())
        m_chart->refresh();
    m_flags.writeFollow(ship->regattaId(), ship->id(), ship->follow());
}

void Following::checkshipById(int shipId)
{
    Ship *ship = firstShip(shipId, true);
    if (!ship)
        return;
    followOrLeave(ship);
    if (ship->follow() && ship->listIndex().isValid())
        selectRow(ship);
    m_chart->setFocus();
}

void Following::shiponoff(TreeShipItem *item, bool on)
{
    Ship *ship = item ? firstShip(item->shipId(), false) : nullptr;
    if (!ship)
        return;
    if (on) {
        ship->setShow(true);
    } else {
        if (ship->follow())
            ship->setFollow(false);
        ship->setShow(false);
    }
    if (!m_animating())
        m_chart->refresh();
    m_flags.writeShowFollow(ship->id(), ship->show(), ship->follow());
    m_chart->setFocus();
}

void Following::toggleFollowAt(int x, int y)
{
    if (!m_regatta)
        return;
    const QRect box(QPoint(x - 10, y - 10), QPoint(x + 9, y + 9));
    Ship *picked = nullptr;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->pointCount() > 0 && ship->show() && box.contains(ship->pixelPos())) {
            picked = ship;
            break;
        }
    }
    if (!picked)
        return;
    if (toggle(picked) && picked->listIndex().isValid())
        selectRow(picked);
    m_chart->refresh();
    m_flags.writeFollow(picked->regattaId(), picked->id(), picked->follow());
}

void Following::selectRow(const Ship *ship)
{
    const QModelIndex first = ship->listIndex();
    const QModelIndex last = first.sibling(first.row(), m_list->model()->columnCount() - 1);
    m_list->treeView()->selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::SelectCurrent);
}

void Following::clearFollow()
{
    if (!m_regatta)
        return;
    for (Ship *ship : m_regatta->ships()) {
        if (ship->follow()) {
            ship->setFollow(false);
            return;
        }
    }
}
