#pragma once

#include "store/Clock.h"
#include "store/Environment.h"
#include "store/MessagePresenter.h"
#include "store/Race.h"
#include "store/Services.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class MainWindow;
class Regatta;

// What the benchmarks share: a database holding a fleet whose tracks are real sailing (the
// recorded Valencia tracks, one fix a minute, laid end to end and spread over the sea off
// Vis), a window on it, and ways to take times and medians.
namespace BenchRace {

constexpr int eventId = 125;
constexpr int firstTime = 1713168000; // the start of the 2024 race
constexpr int stepSeconds = 60;

// Answers every box at once; the benchmarks show none.
class SilentBoxes : public MessagePresenter
{
public:
    Button present(const MessageRequest &) override { return MessageRequest::Ok; }
};

// A fresh database file in a folder of its own, opened as the program opens it.
struct Database
{
    Database();
    ~Database();
    QString path() const { return folder.filePath(QStringLiteral("bench.db")); }

    QTemporaryDir folder;
    SilentBoxes boxes;
};

// Boat ids 5000 + b; positions at firstTime + stepSeconds * i.
void fillFleet(int boats, int positions);
// The position line of the tracking server for boat b's i-th position.
QByteArray positionLine(int boat, int i);
double latitude(int boat, int i);
double longitude(int boat, int i);

// The main window and the race model on the open database, the window of the given size,
// automatic loading off and the servers pointing nowhere.
struct Viewer
{
    explicit Viewer(const QSize &chartSize = QSize(1920, 1080));
    ~Viewer();
    Race race() const;

    Environment environment;
    Clock clock;
    SilentBoxes boxes;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Regatta> regatta;
};

// CPU time of the calling thread, in milliseconds.
double threadCpuMs();
// Resident memory of the process, in KiB.
qint64 residentKiB();
double median(QList<double> values);
// The median of the thread CPU times of n runs of work.
double medianCpuMs(int n, const std::function<void()> &work);
QString ms(double value);

} // namespace BenchRace
