#pragma once

#include <QFileInfoList>
#include <QString>

// Files an earlier installation left behind (suffix "oldversion"), removed at start-up
// where this program writes installers: the temporary folder itself and its own download
// folders in it, never other programs' folders, links or other users' files.
class OldVersionFiles
{
public:
    // base: the temporary folder; nothing happens when it is empty, relative or no folder.
    static void remove(const QString &base);

private:
    static void removeIn(const QString &folder);
    static QFileInfoList ownEntries(const QString &folder);
    static void removeIfOldVersion(const QFileInfo &file);
};
