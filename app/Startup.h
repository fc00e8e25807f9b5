#pragma once

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

    Startup();
    ~Startup();

    // Step 2: the application's identity, before anything reads it.
    static void nameApplication();

    // Steps 3 to 18 on the existing application object. Returns the exit code: the event
    // loop's result, 1 when the database cannot be opened, 0 when the loop is skipped.
    int run(Loop loop = Loop::Run);

    MainWindow *window() const;
    Regatta *regatta() const;

private:
    void configureUpdater();
    void prepareDataFolder();
    void applyStyleSheet();
    QString findDatabasePath();
    bool openDatabase(const QString &path);
    void buildWindow(QSettings &settings);
    void startRace(QSettings &settings);

    std::unique_ptr<MainWindow> m_window;
    // Declared after the window: the boats it owns live on the window's scene and must
    // go first.
    std::unique_ptr<Regatta> m_regatta;
    int m_eventId = 123;
    int m_taskId = 274;
};
