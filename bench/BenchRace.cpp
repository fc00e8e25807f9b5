#include "bench/BenchRace.h"

#include "race/Regatta.h"
#include "store/DatabaseSchema.h"
#include "store/LocalDatabase.h"
#include "store/RegattaTable.h"
#include "store/Sql.h"
#include "tools/demodata/RecordedRace.h"
#include "window/MainWindow.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <ctime>
#include <vector>

namespace BenchRace {

namespace {
// A minute of real sailing at a time: the recorded tracks' way over 60 s, taken in turn.
struct Minute
{
    double dLat;
    double dLng;
};

const std::vector<Minute> &minutes()
{
    static const std::vector<Minute> all = [] {
        std::vector<Minute> result;
        for (const RecordedRace::Boat &boat : RecordedRace::valencia()) {
            const QList<RecordedRace::Fix> &f = boat.fixes;
            for (int j = 0; j + 60 < f.size(); j += 60)
                result.push_back({f[j + 60].lat - f[j].lat, f[j + 60].lng - f[j].lng});
        }
        if (result.empty())
            result.push_back({0.001, 0.001});
        return result;
    }();
    return all;
}

// The way of each boat, position by position, made once per boat and kept.
std::vector<std::pair<double, double>> &track(int boat, int upTo)
{
    static std::vector<std::vector<std::pair<double, double>>> tracks;
    if (int(tracks.size()) <= boat)
        tracks.resize(size_t(boat) + 1);
    std::vector<std::pair<double, double>> &t = tracks[size_t(boat)];
    const std::vector<Minute> &m = minutes();
    if (t.empty())
        t.emplace_back(42.70 + 0.002 * (boat % 10), 16.05 + 0.003 * (boat / 10 % 20));
    while (int(t.size()) <= upTo) {
        const Minute &step = m[(t.size() + size_t(boat) * 7) % m.size()];
        t.emplace_back(t.back().first + step.dLat, t.back().second + step.dLng);
    }
    return t;
}
} // namespace

Database::Database()
{
    bool existed = false;
    LocalDatabase::open(path(), &existed);
    DatabaseSchema::createOrUpgrade(existed, boxes);
    LocalDatabase::ensureIndexes();
}

Database::~Database()
{
    LocalDatabase::close();
}

double latitude(int boat, int i)
{
    return track(boat, i)[size_t(i)].first;
}

double longitude(int boat, int i)
{
    return track(boat, i)[size_t(i)].second;
}

QByteArray positionLine(int boat, int i)
{
    return QByteArray::number(latitude(boat, i), 'f', 6) + ';' + QByteArray::number(longitude(boat, i), 'f', 6) + ';'
           + QByteArray::number(firstTime + stepSeconds * i) + ";45.0;12.5";
}

void fillFleet(int boats, int positions)
{
    QSqlDatabase::database().transaction();
    QSqlQuery ship;
    ship.prepare(Sql::Ship::insert);
    QSqlQuery position;
    position.prepare(Sql::Track::insert);
    for (int b = 0; b < boats; ++b) {
        const int id = 5000 + b;
        ship.bindValue(QStringLiteral(":id"), id);
        ship.bindValue(QStringLiteral(":regatta_id"), eventId);
        ship.bindValue(QStringLiteral(":name"), QStringLiteral("Boot %1").arg(b));
        ship.bindValue(QStringLiteral(":skipper"), QStringLiteral("S"));
        ship.bindValue(QStringLiteral(":team"), QStringLiteral("T"));
        ship.bindValue(QStringLiteral(":klasse"), QStringLiteral("Klasse %1").arg(b % 5));
        ship.bindValue(QStringLiteral(":farbe"), QStringLiteral("#ff008a"));
        ship.bindValue(QStringLiteral(":startnr"), QString::number(b));
        ship.bindValue(QStringLiteral(":show"), true);
        ship.bindValue(QStringLiteral(":follow"), false);
        ship.bindValue(QStringLiteral(":tsmin"), firstTime + stepSeconds * positions);
        ship.exec();
        for (int i = 0; i < positions; ++i) {
            position.bindValue(QStringLiteral(":ship_id"), id);
            position.bindValue(QStringLiteral(":regatta_id"), eventId);
            position.bindValue(QStringLiteral(":lat"), latitude(b, i));
            position.bindValue(QStringLiteral(":lng"), longitude(b, i));
            position.bindValue(QStringLiteral(":tstamp"), firstTime + stepSeconds * i);
            position.exec();
        }
    }
    QSqlDatabase::database().commit();
}

Viewer::Viewer(const QSize &chartSize)
{
    environment.setTrackingServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    environment.setTileServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9")));
    const Services services{environment, clock, boxes};
    window = std::make_unique<MainWindow>(services);
    // The chart gets the size asked for; the side panel stays a strip.
    window->resize(chartSize + QSize(40, 120));
    window->show();
    window->setAutoLoad(false);
    regatta = std::make_unique<Regatta>(window.get(), eventId, 281, services);
}

Viewer::~Viewer()
{
    regatta.reset();
    window.reset();
}

Race Viewer::race() const
{
    for (const Race &r : regatta->races()) {
        if (r.eventId == eventId && r.taskId == 281)
            return r;
    }
    return {};
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double medianCpuMs(int n, const std::function<void()> &work)
{
    QList<double> runs;
    for (int i = 0; i < n; ++i) {
        const double start = threadCpuMs();
        work();
        runs << threadCpuMs() - start;
    }
    return median(runs);
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1) + QStringLiteral(" ms");
}

} // namespace BenchRace
