#include "tests/race/DemoRaceAnalysisTest.h"

#include "race/CourseCatalogue.h"
#include "race/RaceAnalysis.h"
#include "race/RaceAnalysisFeed.h"
#include "chart/Ship.h"
#include "tools/coastline/Coastline.h"
#include "tools/regattasim/BoatRun.h"
#include "tools/regattasim/RaceBook.h"
#include "tools/regattasim/SimulatedRegatta.h"

#include <QTest>

#include <memory>

namespace {

const SimulatedRegatta &race2024()
{
    static const std::unique_ptr<SimulatedRegatta> race = [] {
        Coastline coast;
        coast.load(Coastline::adriaticPath());
        for (const RaceDefinition &d : RaceBook::seeded()) {
            if (d.eventId == 125)
                return std::make_unique<SimulatedRegatta>(d, coast);
        }
        return std::unique_ptr<SimulatedRegatta>();
    }();
    return *race;
}

std::vector<PositionFix> fixesOf(const QList<Fix> &reports)
{
    std::vector<PositionFix> fixes;
    for (const Fix &f : reports)
        fixes.push_back({GeoPoint(f.lat, f.lng), qint32(f.time)});
    return fixes;
}

RaceAnalysis emptyAnalysis()
{
    const SimulatedRegatta &sim = race2024();
    RaceAnalysis a(CourseCatalogue::courseFor(125, 1), sim.definition().start);
    for (const FleetBoat &b : sim.boats())
        a.setBoat({b.id, b.startnr, b.name, b.klasse});
    return a;
}

const RaceAnalysis &wholeRace()
{
    static const RaceAnalysis a = [] {
        RaceAnalysis r = emptyAnalysis();
        for (const FleetBoat &b : race2024().boats())
            r.addPositions(b.id, fixesOf(race2024().track(b.id)));
        return r;
    }();
    return a;
}

qint64 lastReport(int boatId)
{
    return race2024().track(boatId).last().time;
}

QList<int> ids(const Ranking &r)
{
    QList<int> result;
    for (const Standing &s : r.overall())
        result.append(s.boatId);
    return result;
}

// The simulated fleet as the window holds it, tracks empty.
struct DemoShips
{
    DemoShips()
    {
        for (const FleetBoat &b : race2024().boats()) {
            owned.push_back(std::make_unique<Ship>(b.id, b.name, QString(), QString()));
            Ship *ship = owned.back().get();
            ship->setStartnr(b.startnr);
            ship->setName(b.name);
            ship->setKlasse(b.klasse);
            ships << ship;
        }
    }

    // Each boat's positions up to that share of its track, merged at the end of what it has
    // as the tracking client does.
    void growTo(double share)
    {
        for (Ship *ship : std::as_const(ships)) {
            const QList<Fix> all = race2024().track(ship->id());
            const int n = int(all.size() * share);
            std::vector<TrackPoint> points;
            for (int i = ship->fullTrack().count(); i < n; ++i)
                points.emplace_back(all[i].lat, all[i].lng, qint32(all[i].time), all[i].course, 0);
            ship->fullTrack().merge(points);
        }
    }

    std::vector<std::unique_ptr<Ship>> owned;
    QList<Ship *> ships;
};

} // namespace

void DemoRaceAnalysisTest::initTestCase()
{
    QVERIFY2(race2024().boats().size() > 20, qPrintable(Coastline::adriaticPath()));
}

void DemoRaceAnalysisTest::rankingAtTheEndIsTheFinishingOrder()
{
    const RaceAnalysis &a = wholeRace();
    qint64 end = 0;
    for (const FleetBoat &b : race2024().boats())
        end = std::max(end, lastReport(b.id));
    const Ranking r = a.rankingAt(end);
    QCOMPARE(r.overall().size(), race2024().boats().size());

    // A simulated boat has finished with the first report that shows it over the finish
    // line, and reports for seven minutes more: it crossed 420 to 480 s before its last
    // report. So boats whose last reports are a minute or more apart finished in that
    // order; closer ones the simulation cannot order.
    const QList<Standing> rows = r.overall();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Standing &s = rows[i];
        QVERIFY2(s.state.finished, qPrintable(s.name));
        QCOMPARE(s.state.marksPassed, a.course().count());
        QVERIFY(s.state.finishTime < lastReport(s.boatId));
        QVERIFY(s.state.finishTime > lastReport(s.boatId) - 480);
        for (qsizetype j = i + 1; j < rows.size(); ++j) {
            QVERIFY2(lastReport(rows[j].boatId) > lastReport(s.boatId) - 60,
                     qPrintable(QStringLiteral("%1 ranked before %2").arg(s.name, rows[j].name)));
        }
    }
    // Ranks count up without ties, classes in the same order.
    for (qsizetype i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].rank, int(i) + 1);
    for (const QString &klasse : r.classes()) {
        const QList<Standing> c = r.ofClass(klasse);
        for (qsizetype i = 1; i < c.size(); ++i)
            QVERIFY(c[i - 1].state.finishTime <= c[i].state.finishTime && c[i].classRank == i + 1);
    }
}

void DemoRaceAnalysisTest::leaderClosesOnTheFinish()
{
    const RaceAnalysis &a = wholeRace();
    const qint64 start = race2024().definition().start;
    const Standing winner = a.rankingAt(start + 48 * 3600).overall().first();
    const BoatProgress *p = a.progress(winner.boatId);
    const double finish = winner.state.finishTime;

    // Every half hour nearer; minute by minute it may grow only a little on a tack, and by
    // up to a kilometre in the minute it rounds Palagruza, where the course's reckoning jumps
    // from the island to the boat, which crosses the line south of it.
    double halfHourly = 1e9;
    double previous = 1e9;
    int previousMark = 0;
    for (qint64 t = start + 60; t < finish; t += 60) {
        const BoatState state = p->stateAt(t);
        const double left = state.remainingNm;
        const double allowed = state.nextMark != previousMark ? 0.6 : 0.3;
        previousMark = state.nextMark;
        QVERIFY2(left < previous + allowed, qPrintable(QStringLiteral("minute %1: %2 nm after %3")
                                                       .arg((t - start) / 60)
                                                       .arg(left)
                                                       .arg(previous)));
        previous = left;
        if ((t - start) % 1800 == 0) {
            QVERIFY2(left < halfHourly, qPrintable(QString::number((t - start) / 60)));
            halfHourly = left;
        }
    }
    QCOMPARE(p->stateAt(qint64(finish) + 1).remainingNm, 0.0);

    // Halfway through: everyone on the way, the leader on its way back from Palagruza.
    const Ranking half = a.rankingAt(start + qint64(finish - start) / 2);
    const Standing leader = half.overall().first();
    QCOMPARE(leader.nextMarkName, QStringLiteral("Ziel Komiza"));
    QVERIFY(leader.state.speedKnots > 3 && leader.state.speedKnots < 20);
    for (const Standing &s : half.overall())
        QVERIFY(!s.state.finished && s.state.hasPosition && !std::isnan(s.gapNm));
}

void DemoRaceAnalysisTest::positionsAsTheServerHandsThemOut()
{
    // Each boat's reports after its last one, every five minutes, as the demo server answers
    // a fetch: the ranking a little behind the present is the one of the whole race.
    const SimulatedRegatta &sim = race2024();
    RaceAnalysis live = emptyAnalysis();
    QHash<int, qint64> lastget;
    int compared = 0;
    for (qint64 now = sim.definition().start; now < sim.definition().start + 20 * 3600; now += 300) {
        for (const FleetBoat &b : sim.boats()) {
            const QList<Fix> reports = sim.reportsAfter(b.id, lastget.value(b.id), now);
            if (!reports.isEmpty())
                lastget[b.id] = reports.last().time;
            live.addPositions(b.id, fixesOf(reports));
        }
        if ((now / 300) % 12 == 0) {
            QCOMPARE(ids(live.rankingAt(now - 2 * BoatRun::reportSeconds)),
                     ids(wholeRace().rankingAt(now - 2 * BoatRun::reportSeconds)));
            ++compared;
        }
    }
    QVERIFY(compared > 10);
    for (const FleetBoat &b : sim.boats()) {
        const auto &x = live.progress(b.id)->passings();
        const auto &y = wholeRace().progress(b.id)->passings();
        QCOMPARE(x.size(), y.size());
        for (size_t i = 0; i < x.size(); ++i)
            QCOMPARE(x[i].time, y[i].time);
    }
}

void DemoRaceAnalysisTest::feedKeepsUpWithGrowingTracks()
{
    DemoShips fleet;
    RaceAnalysisFeed feed;
    feed.setRace(125, 1, race2024().definition().start);
    fleet.growTo(1.0 / 3);
    feed.tracksChanged();
    const RaceAnalysis &a = feed.analysis(fleet.ships);
    for (const Ship *ship : std::as_const(fleet.ships))
        QCOMPARE(int(a.progress(ship->id())->positions().size()), ship->fullTrack().count());
    const int third = fleet.ships.first()->fullTrack().count();

    // Nothing is worked out until the feed hears of new positions.
    fleet.growTo(2.0 / 3);
    QCOMPARE(int(feed.analysis(fleet.ships).progress(fleet.ships.first()->id())->positions().size()), third);
    feed.tracksChanged();
    QVERIFY(feed.isStale());
    feed.analysis(fleet.ships);
    QVERIFY(!feed.isStale());
    fleet.growTo(1.0);
    feed.tracksChanged();

    // Fed in three pieces, the race is what it is fed whole: every passing, and the order.
    const RaceAnalysis &grown = feed.analysis(fleet.ships);
    for (const Ship *ship : std::as_const(fleet.ships)) {
        const auto &mine = grown.progress(ship->id())->passings();
        const auto &whole = wholeRace().progress(ship->id())->passings();
        QCOMPARE(mine.size(), whole.size());
        for (size_t i = 0; i < mine.size(); ++i) {
            QCOMPARE(mine[i].mark, whole[i].mark);
            QCOMPARE(mine[i].time, whole[i].time);
        }
    }
    const qint64 end = race2024().definition().start + 48 * 3600;
    QCOMPARE(ids(grown.rankingAt(end)), ids(wholeRace().rankingAt(end)));
    QCOMPARE(grown.boat(fleet.ships.first()->id())->startnr, fleet.ships.first()->startnr());
}

void DemoRaceAnalysisTest::feedTakesPastPositionsAndNewBoatsWhole()
{
    DemoShips fleet;
    RaceAnalysisFeed feed;
    feed.setRace(125, 1, race2024().definition().start);
    fleet.growTo(0.5);
    feed.tracksChanged();
    feed.analysis(fleet.ships);

    // A position that arrives late, between two the boat has.
    Ship *late = fleet.ships[0];
    const qint32 between = late->fullTrack().time(10) + 1;
    late->fullTrack().merge({TrackPoint(late->fullTrack().position(10).lat, late->fullTrack().position(10).lng,
                                        between, 0, 0)});
    // A boat read anew from the database with fewer positions than before.
    Ship *reread = fleet.ships[1];
    auto fresh = std::make_unique<Ship>(reread->id(), reread->name(), QString(), QString());
    fresh->setName(QStringLiteral("Neu gelesen"));
    for (int i = 0; i < 5; ++i)
        fresh->fullTrack().append(reread->fullTrack().position(i).lat, reread->fullTrack().position(i).lng,
                                  reread->fullTrack().time(i), 0);
    fleet.ships[1] = fresh.get();
    // A boat no longer in the list.
    const int gone = fleet.ships.takeLast()->id();
    feed.tracksChanged();

    const RaceAnalysis &a = feed.analysis(fleet.ships);
    const auto &positions = a.progress(late->id())->positions();
    QCOMPARE(int(positions.size()), late->fullTrack().count());
    QCOMPARE(positions[11].time, between);
    QCOMPARE(int(a.progress(reread->id())->positions().size()), 5);
    QCOMPARE(a.boat(reread->id())->name, QStringLiteral("Neu gelesen"));
    QVERIFY(!a.contains(gone));
    QCOMPARE(int(a.boatIds().size()), int(fleet.ships.size()));

    // Another race starts afresh.
    feed.setRace(125, 2, race2024().definition().start);
    QVERIFY(feed.isStale());
    QCOMPARE(int(feed.analysis({}).boatIds().size()), 0);
}

void DemoRaceAnalysisTest::everyBoatSailsTheCatalogueCourse_data()
{
    QTest::addColumn<int>("eventId");
    QTest::addColumn<int>("taskId");
    QTest::addRow("2010") << 10 << 88;
    QTest::addRow("2011") << 21 << 120;
    QTest::addRow("live") << RaceBook::liveEventId << RaceBook::liveTaskId;
}

void DemoRaceAnalysisTest::everyBoatSailsTheCatalogueCourse()
{
    QFETCH(int, eventId);
    QFETCH(int, taskId);
    Coastline coast;
    coast.load(Coastline::adriaticPath());
    RaceDefinition def = RaceBook::live(1800000000);
    for (const RaceDefinition &d : RaceBook::seeded()) {
        if (d.eventId == eventId)
            def = d;
    }
    QCOMPARE(def.eventId, eventId);
    const SimulatedRegatta sim(def, coast);
    RaceAnalysis a(CourseCatalogue::courseFor(eventId, taskId), def.start);
    for (const FleetBoat &b : sim.boats()) {
        a.setBoat({b.id, b.startnr, b.name, b.klasse});
        a.addPositions(b.id, fixesOf(sim.track(b.id)));
    }
    // As the viewer reckons it, every boat passes every gate in turn and finishes; in the
    // live race, which may outlast its window, most boats finish and all are on the long
    // beat home from Mljet by then.
    const bool live = eventId == RaceBook::liveEventId;
    QStringList behind;
    int finished = 0;
    for (const Standing &s : a.rankingAt(def.bis).overall()) {
        finished += s.state.finished;
        if (!s.state.finished && (!live || s.state.marksPassed < a.course().count() - 2))
            behind << QStringLiteral("%1 at mark %2").arg(s.boatId).arg(s.state.marksPassed);
    }
    QVERIFY2(behind.isEmpty(), qPrintable(behind.join(QStringLiteral(", "))));
    QVERIFY(finished > int(sim.boats().size()) / 2);
}
