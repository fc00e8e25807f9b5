// What the race analysis costs: working out every boat's passings once, the ranking at a
// replay tick, and keeping up as positions come in, one at a time or late into a gap.
// A fleet sails the 2024 course (Komiza, the route to Palagruza, round it and back) at
// 6 to 9 knots with a tack every few minutes, a position every 5 seconds.
//   bench_race_analysis [boats] [positions per boat]
#include "race/CourseCatalogue.h"
#include "race/RaceAnalysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr qint32 gun = 1713175200;
constexpr int everySeconds = 5;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Through the start line westwards, along the route, round Palagruza keeping it to port,
// and over the finish line eastwards, zigzagging 20 degrees off the way. The boat sails on
// past the finish until its positions run out.
std::vector<PositionFix> sail(const Course &course, int boat, int positions)
{
    const GeoPoint line = GeoPoint::midpoint(course.mark(0).end1, course.mark(0).end2);
    QList<GeoPoint> way{GeoPoint::destination(line, 0.5, 270), course.mark(1).legStart};
    for (int i = 1; i <= 8; ++i)
        way.append(course.mark(i).end1);
    const GeoPoint island = course.mark(9).end1;
    for (const double side : {270.0, 180.0, 90.0})
        way.append(GeoPoint::destination(island, 2, side));
    way.append(GeoPoint::destination(line, 0.5, 270));
    way.append(GeoPoint::destination(line, 3, 90));

    const double kmPerStep = (6.0 + 3.0 * ((boat * 37) % 100) / 100.0) * 1.852 / 3600.0 * everySeconds;
    std::vector<PositionFix> fixes;
    fixes.reserve(size_t(positions));
    GeoPoint at = GeoPoint::destination(line, 0.5, 90);
    int target = 0;
    for (int i = 0; i < positions; ++i) {
        fixes.push_back({at, gun + 20 + everySeconds * i});
        if (target + 1 < way.size() && GeoPoint::distanceKm(at, way[target]) < 0.2)
            ++target;
        const double zigzag = ((i / 60 + boat) % 2 ? 20.0 : -20.0);
        at = GeoPoint::destination(at, kmPerStep, GeoPoint::bearing(at, way[target]) + zigzag);
    }
    return fixes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    const Course course = CourseCatalogue::course(GateCatalogue::Set::E);

    QList<std::vector<PositionFix>> tracks;
    for (int b = 0; b < boats; ++b)
        tracks.append(sail(course, b, positions));
    out() << boats << " boats x " << positions << " positions, course of " << course.count() << " marks" << Qt::endl;

    // Everything at once, as a stored race is loaded.
    QList<double> loads;
    RaceAnalysis analysis;
    for (int run = 0; run < 5; ++run) {
        analysis = RaceAnalysis(course, gun);
        QElapsedTimer timer;
        timer.start();
        for (int b = 0; b < boats; ++b) {
            analysis.setBoat({b, QString::number(b + 1), QStringLiteral("Boot%1").arg(b), b % 2 ? "ORC 1" : "ORC 2"});
            analysis.addPositions(b, tracks[b]);
        }
        loads << double(timer.nsecsElapsed()) / 1e6;
    }
    int passings = 0;
    for (int b = 0; b < boats; ++b)
        passings += int(analysis.progress(b)->passings().size());

    out() << "load: " << QString::number(median(loads), 'f', 1) << " ms for all boats (median of 5), "
          << QString::number(double(passings) / boats, 'f', 1) << " marks passed per boat" << Qt::endl;

    // One replay tick: the ranking of every boat at one time, across the whole race.
    QSet<int> all;
    for (int b = 0; b < boats; ++b)
        all.insert(b);
    QList<double> ticks;
    int finished = 0;
    const qint32 span = everySeconds * positions;
    // Processor time besides the wall clock: on a shared machine a tick now and then waits
    // for the processor, which the wall clock counts and the processor time does not.
    const std::clock_t cpuBefore = std::clock();
    for (int k = 0; k < 400; ++k) {
        const qint64 t = gun + qint64(span) * k / 400;
        QElapsedTimer timer;
        timer.start();
        const Ranking r = analysis.rankingAt(t, all);
        ticks << double(timer.nsecsElapsed()) / 1e6;
        finished = 0;
        for (const Standing &s : r.overall())
            finished += s.state.finished;
    }
    const double cpuPerTick = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC * 1000.0 / 400;
    std::sort(ticks.begin(), ticks.end());
    out() << "tick: " << QString::number(median(ticks), 'f', 3) << " ms median, "
          << QString::number(ticks[ticks.size() * 95 / 100], 'f', 3) << " ms 95th percentile, "
          << QString::number(ticks.last(), 'f', 3) << " ms max over 400 ticks, "
          << QString::number(cpuPerTick, 'f', 3) << " ms processor time per tick; "
          << finished << " finished at the end" << Qt::endl;

    // Live: the last 1,000 positions of every boat arrive one at a time, boat after boat.
    RaceAnalysis live(course, gun);
    const int tail = std::min(1000, positions / 2);
    for (int b = 0; b < boats; ++b)
        live.addPositions(b, std::vector<PositionFix>(tracks[b].begin(), tracks[b].end() - tail));
    QElapsedTimer appendTimer;
    appendTimer.start();
    for (int i = positions - tail; i < positions; ++i) {
        for (int b = 0; b < boats; ++b)
            live.addPositions(b, {tracks[b][size_t(i)]});
    }
    out() << "append: " << QString::number(double(appendTimer.nsecsElapsed()) / 1e3 / (double(tail) * boats), 'f', 2)
          << " us per position" << Qt::endl;

    // Late: a gap of 60 positions in the middle of every track filled in afterwards, which
    // works the passings out again from the gap on.
    const int gapAt = positions / 2;
    RaceAnalysis late(course, gun);
    for (int b = 0; b < boats; ++b) {
        std::vector<PositionFix> holed(tracks[b].begin(), tracks[b].begin() + gapAt);
        holed.insert(holed.end(), tracks[b].begin() + gapAt + 60, tracks[b].end());
        late.addPositions(b, holed);
    }
    QList<double> fills;
    for (int b = 0; b < boats; ++b) {
        QElapsedTimer timer;
        timer.start();
        late.addPositions(b, std::vector<PositionFix>(tracks[b].begin() + gapAt, tracks[b].begin() + gapAt + 60));
        fills << double(timer.nsecsElapsed()) / 1e3;
    }
    out() << "gap filled in the middle: " << QString::number(median(fills), 'f', 1) << " us per boat (median)"
          << Qt::endl;
    return 0;
}
