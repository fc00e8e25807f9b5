#pragma once

#include <optional>

// The one row of preferences in table prefs, read and written as the settings check boxes
// do. Each value has a query of its own; a value is empty when its query fails or the row
// is missing, so the window keeps its default.
class PrefsTable
{
public:
    static std::optional<int> loadMaps();
    static std::optional<int> loadInterval();
    static std::optional<int> autoLoad();
    static std::optional<int> lookForUpdate();

    // Written as 1 or 0; false when the statement failed.
    static bool setLoadMaps(bool on);
    static bool setAutoLoad(bool on);
    static bool setLookForUpdate(bool on);
    static bool setLoadInterval(int minutes);
};
