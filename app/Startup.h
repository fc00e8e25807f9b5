#pragma once

#include "app/QtMessagePresenter.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/Services.h"

#include <QString>

#include <memory>

class MainWindow;
class QSettings;
class Regatta;

// The program's start-up sequence, from naming the application to the event loop.
// Tests run it without the event loop and inspect the window it built.
class Startup
{
public:
    enum class Loop { Run, Skip };

    // The program's own message boxes and clock.
    Startup();
    // Boxes and the time from elsewhere, for tests.
    Startup(MessagePresenter &messages, Clock &clock);
    ~Startup();

    // Step 2: the application's identity, before anything reads it.
    static void nameApplication();

    // Steps 3 to 18 on the existing application object. Returns the exit code: the event
    // loop's result, 1 when the database cannot be opened, 0 when the loop is skipped.
    int run(Loop loop = Loop::Run);

    MainWindow *window() const;
    Regatta *regatta() const;
    const Environment &environment() const { return m_environment; }

private:
    void configureUpdater();
    void prepareDataFolder();
    void applyStyleSheet();
    QString findDatabasePath();
    bool openDatabase(const QString &path);
    void buildWindow(QSettings &settings);
    void startRace(QSettings &settings);

    QtMessagePresenter m_boxes;
    Clock m_ownClock;
    Environment m_environment;
    Services m_services;
    std::unique_ptr<MainWindow> m_window;
    // Declared after the window: the boats it owns live on the window's scene and must
    // go first.
    std::unique_ptr<Regatta> m_regatta;
    int m_eventId = 123;
    int m_taskId = 274;
};
