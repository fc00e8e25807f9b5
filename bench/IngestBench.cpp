// Storing what the tracking server answers, through the window's own client against a local
// server: one fetch of 100 boats with 1,000 new positions each, and one answer of 200,000
// lines. Reports the CPU time the window's thread and the storing thread spend, the raw limits
// of the same inserts (Qt's SQLite driver, prepared, one transaction; the sqlite3 C API), and
// the longest stretch in which the window's event loop did not turn.
//   bench_ingest [boats] [lines per answer] [lines of the big answer] [runs]
#include "bench/BenchRace.h"

#include "race/Regatta.h"
#include "store/Sql.h"
#include "tools/httpserver/LocalHttpServer.h"
#include "chart/Karte.h"
#include "chart/TrackLayer.h"
#include "window/MainWindow.h"
#include "window/TrackingClient.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <vector>

using namespace BenchRace;

namespace {
QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

// CPU time a thread of this process has used, found by its name, in milliseconds.
double namedThreadCpuMs(const QByteArray &name)
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != name)
            continue;
        QFile schedstat(tasks.filePath(tid + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            return schedstat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    return 0;
}

// The server's answers, made before anything is timed: per boat the positions after "la".
struct Answers
{
    int boats = 0;
    int lines = 0;
    int bigLines = 0;
    std::atomic<bool> big{false};

    QByteArray body(int boat, int since) const
    {
        const int count = big && boat == 0 ? lines + bigLines : lines;
        QByteArray result;
        for (int i = 1; i <= count; ++i) {
            if (firstTime + stepSeconds * i > since)
                result += positionLine(boat, i) + '\n';
        }
        return result;
    }
};

// The server runs on a thread of its own, so that sending does not count as the window's work.
class ServerThread
{
public:
    explicit ServerThread(Answers &answers)
    {
        m_thread.setObjectName(QStringLiteral("server"));
        m_server.setKeepLog(false);
        m_server.setHandler([&answers](const HttpRequest &request) {
            const int boat = request.query().queryItemValue(QStringLiteral("bo")).toInt() - 5000;
            const int since = request.query().queryItemValue(QStringLiteral("la")).toInt();
            return HttpResponse::ok(answers.body(boat, since));
        });
        m_server.listen();
        m_server.moveToThread(&m_thread);
        m_thread.start();
    }
    ~ServerThread()
    {
        QMetaObject::invokeMethod(
            &m_server, [this] { m_server.moveToThread(QCoreApplication::instance()->thread()); },
            Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QUrl url() const { return m_server.baseUrl(); }

private:
    QThread m_thread;
    LocalHttpServer m_server;
};

struct Fetch
{
    double guiCpu = 0;
    double workerCpu = 0;
    double wall = 0;
    double longestGap = 0;
    int framesLost = 0;
};

// One fetch of every boat, from the call to the last answer merged into the tracks.
// watch: a 1 ms timer notes how long the event loop went without turning; it costs the
// window's thread CPU time of its own, so CPU is measured without it.
Fetch fetch(Viewer &viewer, bool watch)
{
    TrackingClient &client = *viewer.window->trackingClient();
    Fetch f;
    QElapsedTimer sinceTurn;
    QTimer beat;
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const double gap = double(sinceTurn.nsecsElapsed()) / 1e6;
        f.longestGap = std::max(f.longestGap, gap);
        // A 60 Hz display loses a frame for every 16.7 ms beyond the first.
        f.framesLost += int(gap / 16.7);
        sinceTurn.start();
    });
    const double gui = threadCpuMs();
    const double worker = namedThreadCpuMs("positions");
    QElapsedTimer wall;
    wall.start();
    sinceTurn.start();
    if (watch)
        beat.start();
    viewer.window->getData();
    while (client.busy() || client.reloadPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    beat.stop();
    f.wall = double(wall.nsecsElapsed()) / 1e6;
    f.guiCpu = threadCpuMs() - gui;
    f.workerCpu = namedThreadCpuMs("positions") - worker;
    return f;
}

void settle(Viewer &viewer)
{
    QWindow *window = viewer.window->windowHandle();
    QElapsedTimer limit;
    limit.start();
    while (!(window && window->isExposed()) && limit.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        window = viewer.window->windowHandle();
    }
    TrackLayer *layer = viewer.window->chart()->trackLayer();
    do {
        viewer.window->repaint();
        QCoreApplication::processEvents();
    } while (!layer->complete() && limit.elapsed() < 5000);
}

qint64 storedRows()
{
    QSqlQuery count(QStringLiteral("SELECT COUNT(*) FROM track"));
    return count.next() ? count.value(0).toLongLong() : -1;
}

void makeSchema(const std::function<void(const QString &)> &exec)
{
    exec(Sql::Track::create);
    exec(Sql::Track::createUniqueIndex);
}

// The same rows through Qt's driver: one prepared statement, one transaction, no parsing.
double rawQt(const QString &path, int boats, int lines, int round)
{
    const QString name = QStringLiteral("raw-qt-%1").arg(round);
    double ms = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        makeSchema([&](const QString &sql) { QSqlQuery(db).exec(sql); });
        const double start = threadCpuMs();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(Sql::Track::insert);
        for (int b = 0; b < boats; ++b) {
            insert.bindValue(0, 5000 + b);
            insert.bindValue(1, eventId);
            for (int i = 1; i <= lines; ++i) {
                insert.bindValue(2, latitude(b, i));
                insert.bindValue(3, longitude(b, i));
                insert.bindValue(4, firstTime + stepSeconds * i);
                insert.exec();
            }
        }
        db.commit();
        ms = threadCpuMs() - start;
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ms;
}

// The same rows through the sqlite3 C API.
double rawC(const QString &path, int boats, int lines)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    makeSchema([&](const QString &sql) { sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); });
    const double start = threadCpuMs();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, Sql::Track::insert.toUtf8().constData(), -1, &insert, nullptr);
    for (int b = 0; b < boats; ++b) {
        for (int i = 1; i <= lines; ++i) {
            sqlite3_bind_int(insert, 1, 5000 + b);
            sqlite3_bind_int(insert, 2, eventId);
            sqlite3_bind_double(insert, 3, latitude(b, i));
            sqlite3_bind_double(insert, 4, longitude(b, i));
            sqlite3_bind_int(insert, 5, firstTime + stepSeconds * i);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double ms = threadCpuMs() - start;
    sqlite3_close(db);
    return ms;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int lines = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000;
    const int bigLines = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 200000;
    const int runs = argc > 4 ? QString::fromLocal8Bit(argv[4]).toInt() : 5;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtWarningMsg)
            QTextStream(stderr) << message << Qt::endl;
    });
    Answers answers;
    answers.boats = boats;
    answers.lines = lines;
    answers.bigLines = bigLines;
    // Every track made now: the server's thread only reads them.
    for (int b = boats - 1; b >= 0; --b)
        latitude(b, b == 0 ? lines + bigLines + 1 : lines + 1);
    ServerThread server(answers);

    QList<double> gui, worker, handler, wall, qt, c;
    QList<double> bigGap, bigFrames, bigGui, bigWorker, bigWall;
    for (int run = 0; run < runs; ++run) {
        Database database;
        fillFleet(boats, 0);
        Viewer viewer;
        viewer.environment.setTrackingServerUrl(server.url());
        viewer.regatta->loadRace(viewer.race());
        answers.big = false;
        // Hidden: what the chart then paints of the new positions is the replay's figure.
        viewer.window->hide();
        const Fetch f = fetch(viewer, false);
        viewer.window->show();
        // Shown and painted in full now, tracks and all, so that the big answer's figure
        // holds only what it causes: the platform exposes the window a few turns later.
        settle(viewer);
        if (storedRows() != qint64(boats) * lines)
            out() << "  (stored " << storedRows() << " rows, not " << qint64(boats) * lines << "!)" << Qt::endl;
        gui << f.guiCpu;
        worker << f.workerCpu;
        handler << f.guiCpu + f.workerCpu;
        wall << f.wall;
        if (bigLines > 0) {
            answers.big = true;
            const Fetch big = fetch(viewer, true);
            bigGap << big.longestGap;
            bigFrames << big.framesLost;
            bigGui << big.guiCpu;
            bigWorker << big.workerCpu;
            bigWall << big.wall;
            if (storedRows() != qint64(boats) * lines + bigLines)
                out() << "  (big answer: stored " << storedRows() << " rows)" << Qt::endl;
        }
        qt << rawQt(database.folder.filePath(QStringLiteral("raw-qt.db")), boats, lines, run);
        c << rawC(database.folder.filePath(QStringLiteral("raw-c.db")), boats, lines);
    }
    const double rows = double(boats) * lines;
    out() << boats << " answers x " << lines << " lines, medians of " << runs << " runs:" << Qt::endl;
    out() << "  handler CPU " << ms(median(handler)) << " (window thread " << ms(median(gui))
          << ", storing thread " << ms(median(worker)) << "), wall " << ms(median(wall)) << Qt::endl;
    out() << "  raw QSQLITE, prepared, one transaction: " << ms(median(qt)) << "; sqlite3 C API: " << ms(median(c))
          << Qt::endl;
    out() << "  rate: " << QString::number(rows / median(handler), 'f', 0) << " rows/ms, "
          << QString::number(100.0 * median(qt) / median(handler), 'f', 0) << " % of the raw QSQLITE rate"
          << Qt::endl;
    if (bigLines > 0)
        out() << "one answer of " << bigLines << " lines: event loop at most " << ms(median(bigGap))
              << " without turning (worst run " << ms(*std::max_element(bigGap.begin(), bigGap.end())) << "), "
              << median(bigFrames) << " frames lost; window thread CPU " << ms(median(bigGui)) << ", storing thread "
              << ms(median(bigWorker)) << ", wall " << ms(median(bigWall)) << Qt::endl;
    return 0;
}
