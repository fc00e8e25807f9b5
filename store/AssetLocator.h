#pragma once

#include <QString>

// Where the program's own files (style sheet, icons, sprite strip) are read from. A path
// relative to the working directory wins, so a run from the source root uses the files
// there; otherwise the installed copy is used: the data folder beside the executable
// (<prefix>/share/brisavela for <prefix>/bin/brisavela), then "brisavela/" in the XDG
// data folders.
class AssetLocator
{
public:
    // The path to open for a relative asset name such as "img/playbutton.png". When the
    // file is found nowhere, the relative name itself, so a missing asset stays missing as
    // before.
    static QString assetPath(const QString &relative);

    // The installed data folder next to the executable, whether or not it exists.
    static QString installedDataFolder();
};
