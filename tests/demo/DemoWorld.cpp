#include "tests/demo/DemoWorld.h"

#include "tools/regattasim/RaceBook.h"
#include "tools/regattasim/SimulatedRegatta.h"

#include <QHash>

#include <memory>

namespace DemoWorld {

const Coastline &coastline()
{
    static const Coastline c = [] {
        Coastline loaded;
        loaded.load(Coastline::adriaticPath());
        return loaded;
    }();
    return c;
}

RaceDefinition definition(int eventId)
{
    if (eventId == RaceBook::liveEventId)
        return RaceBook::live(liveStart);
    for (const RaceDefinition &d : RaceBook::seeded()) {
        if (d.eventId == eventId)
            return d;
    }
    return {};
}

const SimulatedRegatta &regatta(int eventId)
{
    static QHash<int, std::shared_ptr<SimulatedRegatta>> made;
    auto &slot = made[eventId];
    if (!slot)
        slot = std::make_shared<SimulatedRegatta>(definition(eventId), coastline());
    return *slot;
}

} // namespace DemoWorld
