#pragma once

#include "store/ShipFlagsWriter.h"

#include <functional>

class IconSelector;
class Karte;
class Regatta;
class Ship;
class TreeShipItem;

// Which boats are shown and which one the chart follows: in memory first, then in table
// ship. At most one boat of a race is followed.
class Following
{
public:
    // animating: whether the replay animation runs, which then refreshes the chart itself.
    Following(Karte *chart, IconSelector *list, std::function<bool()> animating);

    void setRegatta(const Regatta *regatta) { m_regatta = regatta; }

    // A boat's row was clicked in the list.
    void checkship(TreeShipItem *item);
    // A boat's row was clicked in the ranking: as a click on its row in the list, which is
    // selected then.
    void checkshipById(int shipId);
    // A boat's check box changed.
    void shiponoff(TreeShipItem *item, bool on);
    // A click on the chart at a view pixel picks the first shown boat within the box around it.
    void toggleFollowAt(int x, int y);
    // Stops following the first followed boat (memory only).
    void clearFollow();

private:
    Ship *firstShip(int id, bool mustBeShown) const;
    // Follows the boat, or stops following it if it was; true when it is followed now.
    static bool toggle(Ship *ship);
    // Follows the boat or stops following it, centred on it when followed now.
    void followOrLeave(Ship *ship);
    void selectRow(const Ship *ship);

    Karte *m_chart;
    IconSelector *m_list;
    std::function<bool()> m_animating;
    const Regatta *m_regatta = nullptr;
    ShipFlagsWriter m_flags;
};
