#pragma once

#include <QProcessEnvironment>
#include <QString>

// A private home for the test process: XDG folders, TMPDIR and the settings stores point
// into one temporary folder, set before the application object exists. No test touches
// the real home folder.
class TestEnvironment
{
public:
    // Call first thing in main(), before QApplication is constructed.
    static void prepareProcess();

    // Empties the data, config and temp folders and the settings stores; the settings point
    // the servers where nothing listens.
    static void reset();

    static QString root();
    static QString dataHome();    // XDG_DATA_HOME
    static QString configHome();  // XDG_CONFIG_HOME
    static QString systemConfig(); // XDG_CONFIG_DIRS (one folder)
    static QString tempFolder();  // TMPDIR

    // The folder the program's data folder resolves to ("<data home>/Brisavela2023").
    static QString dataFolder();

    // A fresh, empty folder below the root, for a test's own files.
    static QString freshFolder(const QString &name);

    // The environment of a viewer process the test starts: its own XDG folders and TMPDIR
    // below root, headless.
    static QProcessEnvironment viewerProcess(const QString &root);
};
