#pragma once

#include <QString>

#include <memory>

class QApplication;
class QMainWindow;
class QSettings;

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

    QMainWindow *window() const;

private:
    void configureUpdater();
    void prepareDataFolder();
    void applyStyleSheet();
    QString findDatabasePath();
    bool openDatabase(const QString &path);
    void buildWindow(QSettings &settings);
    void startRace(QSettings &settings);

    std::unique_ptr<QMainWindow> m_window;
    int m_eventId = 123;
    int m_taskId = 274;
};
