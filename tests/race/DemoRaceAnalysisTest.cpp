#include "tests/race/DemoRaceAnalysisTest.h"

#include "race/CourseCatalogue.h"
#include "race/RaceAnalysis.h"
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

    // A simulated boat has finished when it comes near its finish point, and reports for
    // eight minutes more on whole minutes: its finish lies 440 to 480 s before its last
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

    // Every half hour nearer; minute by minute it may grow only by the rounding of
    // Palagruza, where the course's reckoning jumps from the island to the next leg, and
    // a little on a tack.
    double halfHourly = 1e9;
    double previous = 1e9;
    for (qint64 t = start + 60; t < finish; t += 60) {
        const double left = p->stateAt(t).remainingNm;
        QVERIFY2(left < previous + 0.3, qPrintable(QStringLiteral("minute %1: %2 nm after %3")
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
