// Loading a large race: 100 boats with 10,000 stored positions each, built from the
// recorded race's tracks. Measures loadRace from the call to the slider being set, with
// and without the track index, and the placement done after every boat as well as once.
//   bench_race_load [boats] [positions per boat] [indexed]  ("indexed": only the indexed load)
#include "bench/BenchRace.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "race/Regatta.h"
#include "store/Clock.h"
#include "store/DatabaseSchema.h"
#include "store/Environment.h"
#include "store/LocalDatabase.h"
#include "store/MessagePresenter.h"
#include "store/Sql.h"
#include "store/PositionRow.h"
#include "store/SqliteHandle.h"
#include "tools/demodata/RecordedRace.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace {
QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

void fillDatabase(int boats, int positions)
{
    const QList<RecordedRace::Boat> recorded = RecordedRace::valencia();
    QSqlDatabase::database().transaction();
    QSqlQuery ship;
    ship.prepare(Sql::Ship::insert);
    QSqlQuery track;
    track.prepare(Sql::Track::insert);
    for (int b = 0; b < boats; ++b) {
        const int id = 5000 + b;
        ship.bindValue(QStringLiteral(":id"), id);
        ship.bindValue(QStringLiteral(":regatta_id"), 125);
        ship.bindValue(QStringLiteral(":name"), QStringLiteral("Boot %1").arg(b));
        ship.bindValue(QStringLiteral(":skipper"), QStringLiteral("S"));
        ship.bindValue(QStringLiteral(":team"), QStringLiteral("T"));
        ship.bindValue(QStringLiteral(":klasse"), QStringLiteral("Klasse %1").arg(b % 5));
        ship.bindValue(QStringLiteral(":farbe"), QStringLiteral("#ff008a"));
        ship.bindValue(QStringLiteral(":startnr"), QString::number(b));
        ship.bindValue(QStringLiteral(":show"), true);
        ship.bindValue(QStringLiteral(":follow"), false);
        ship.bindValue(QStringLiteral(":tsmin"), 0);
        ship.exec();
        // The recorded tracks, laid end to end and each copy moved a little, give every
        // boat real sailing: tacks, gusts and GPS noise.
        const QList<RecordedRace::Fix> &source = recorded[b % recorded.size()].fixes;
        int t = 1712743200 + b;
        for (int i = 0; i < positions; ++i) {
            const RecordedRace::Fix &f = source[i % source.size()];
            const int lap = int(i / source.size());
            track.bindValue(QStringLiteral(":ship_id"), id);
            track.bindValue(QStringLiteral(":regatta_id"), 125);
            track.bindValue(QStringLiteral(":lat"), f.lat + 3.3 + 0.002 * (b % 10) + 0.01 * lap);
            track.bindValue(QStringLiteral(":lng"), f.lng + 16.4 + 0.002 * (b / 10));
            track.bindValue(QStringLiteral(":tstamp"), t);
            track.exec();
            t += 2;
        }
    }
    // Some unrelated history in the table, as a database that has seen other events holds.
    for (int i = 0; i < positions * 10; ++i) {
        track.bindValue(QStringLiteral(":ship_id"), 90000 + i % 50);
        track.bindValue(QStringLiteral(":regatta_id"), 122);
        track.bindValue(QStringLiteral(":lat"), 43.0);
        track.bindValue(QStringLiteral(":lng"), 16.0);
        track.bindValue(QStringLiteral(":tstamp"), i);
        track.exec();
    }
    QSqlDatabase::database().commit();
}

Race raceOf(const Regatta &regatta)
{
    for (const Race &r : regatta.races()) {
        if (r.eventId == 125 && r.taskId == 281)
            return r;
    }
    return {};
}

// The raw limit: the same query of every boat through the sqlite3 C API into plain records.
double timeRawQuery(const QList<int> &shipIds)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = SqliteHandle::of(QSqlDatabase::database());
    qint64 rows = 0;
    for (const int id : shipIds) {
        std::vector<PositionRow> positions;
        sqlite3_stmt *query = nullptr;
        sqlite3_prepare_v2(db, Sql::Track::selectOfShip.toUtf8().constData(), -1, &query, nullptr);
        sqlite3_bind_int(query, 1, id);
        sqlite3_bind_int(query, 2, 125);
        while (sqlite3_step(query) == SQLITE_ROW)
            positions.push_back({sqlite3_column_double(query, 0), sqlite3_column_double(query, 1),
                                 sqlite3_column_int(query, 2), 0});
        sqlite3_finalize(query);
        rows += qint64(positions.size());
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (rows == 0)
        out() << "  (no rows read!)" << Qt::endl;
    return ms;
}

double timeLoadRace(MainWindow &window, Regatta &regatta, const Race &race)
{
    QElapsedTimer timer;
    timer.start();
    regatta.loadRace(race);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (window.slider()->maximum() <= window.slider()->minimum())
        out() << "  (slider not set!)" << Qt::endl;
    return ms;
}

// The order of the original design: place every ready boat again after each boat loads.
double timePlacementPerBoat(MainWindow &window, Regatta &regatta, const Race &race)
{
    QElapsedTimer timer;
    timer.start();
    window.participantList()->clearShips();
    regatta.replaceShipsFromDB(race.eventId);
    for (Ship *ship : regatta.ships()) {
        if (regatta.loadShipPosDB(ship)) {
            ship->setReady(true);
            regatta.reloadShips();
        }
    }
    regatta.reloadShips();
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    const bool indexedOnly = argc > 3 && QByteArray(argv[3]) == "indexed";
    BenchRace::SilentBoxes boxes;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.db"));
    bool existed = false;
    LocalDatabase::open(path, &existed);
    DatabaseSchema::createOrUpgrade(existed, boxes);
    QElapsedTimer fill;
    fill.start();
    fillDatabase(boats, positions);
    out() << "database: " << boats << " boats x " << positions << " positions, filled in " << fill.elapsed()
          << " ms" << Qt::endl;

    Environment environment;
    environment.setTrackingServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    environment.setTileServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9")));
    Clock clock;
    const Services services{environment, clock, boxes};
    {
        auto window = std::make_unique<MainWindow>(services);
        window->setGeometry(0, 0, 1000, 800);
        window->show();
        auto regatta = std::make_unique<Regatta>(window.get(), 125, 281, services);
        const Race race = raceOf(*regatta);
        auto report = [&](const char *what, auto run) {
            QList<double> runs;
            for (int i = 0; i < 3; ++i)
                runs << run();
            out() << what << ": " << QString::number(BenchRace::median(runs), 'f', 1) << " ms (median of 3)" << Qt::endl;
        };
        if (!indexedOnly) {
            QSqlQuery(QStringLiteral("DROP INDEX IF EXISTS track_ship_event_time")).exec();
            report("loadRace, no track index", [&] { return timeLoadRace(*window, *regatta, race); });
            report("placement after every boat, no index",
                   [&] { return timePlacementPerBoat(*window, *regatta, race); });
        }
        LocalDatabase::ensureIndexes();
        report("loadRace, with track index", [&] { return timeLoadRace(*window, *regatta, race); });
        QList<int> shipIds;
        for (int b = 0; b < boats; ++b)
            shipIds << 5000 + b;
        report("raw: the same queries through the sqlite3 C API", [&] { return timeRawQuery(shipIds); });
        if (!indexedOnly)
            report("placement after every boat, with index",
                   [&] { return timePlacementPerBoat(*window, *regatta, race); });
        regatta.reset();
    }
    LocalDatabase::close();
    return 0;
}
