#pragma once

#include <QString>
#include <QStringList>

// Starts an installed viewer the way a desktop launcher does, from a working directory that
// holds none of its files, and ends it the way a desktop session does (SIGTERM).
namespace InstalledViewer {

// Every file an installation holds, relative to its prefix.
QStringList files();

// The assets the viewer reads at start-up: the style sheet, the button icons, and the
// sprite strip of the remembered race.
QStringList assets();

// A profile in the test's XDG folders: a database with a stored race and its boats, the
// race remembered, and nothing that would go to the network (no update check, no
// fetching, no map downloads, servers on a closed port).
bool prepareProfile();

struct Run
{
    QString failure;      // empty when the viewer started, read its assets and ended cleanly
    QString output;       // what it wrote to its standard output and error
};

// Starts executable in "/", waits until it has read every asset and can be ended, ends
// it with SIGTERM, and checks that each asset came from dataFolder and that it closed
// normally with exit code 0.
Run run(const QString &executable, const QString &dataFolder);
}
