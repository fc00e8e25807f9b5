#include "tests/race/RankingTest.h"

#include "race/RaceAnalysis.h"
#include "tests/race/SeaChart.h"

#include <QTest>

using namespace SeaChart;

namespace {

// Start line, a long gate whose middle lies far north of the way, and the finish, all
// crossed eastwards. A boat that crossed the gate at its far end has further to go by the
// course's reckoning than one still short of the gate: gates passed come first.
Course testCourse()
{
    return Course({CourseMark::line(QStringLiteral("Start"), km(0, -1), km(0, 1), 90),
                   CourseMark::line(QStringLiteral("Tor"), km(5, 0), km(5, 10), 90),
                   CourseMark::line(QStringLiteral("Ziel"), km(10, -1), km(10, 1), 90)},
                  true);
}

RaceAnalysis fleet()
{
    RaceAnalysis a(testCourse(), t0);
    const struct
    {
        int id;
        const char *startnr;
        const char *name;
        const char *klasse;
        std::vector<PositionFix> fixes;
    } boats[] = {
        // Finishes at 1100.
        {1, "10", "Alpha", "X", track({{-1, 0, 0}, {11, 0, 1200}})},
        // Finishes at 1210.
        {2, "2", "Bravo", "Y", track({{-1, 0, 0}, {11, 0, 1320}})},
        // Through the gate at its far end at 1500, then barely moving.
        {3, "3", "Charlie", "X", track({{-1, 0, 0}, {1, 0, 200}, {4.9, 9.9, 1000}, {5.1, 9.9, 2000}})},
        // Delta and Echo sail the same: a tie. Just short of the gate at 2000.
        {4, "4", "Delta", "Y", track({{-1, 0, 0}, {4.9, 0, 2000}})},
        {5, "5", "Echo", "Y", track({{-1, 0, 0}, {4.9, 0, 2000}})},
        // Not seen yet.
        {6, "1", "Foxtrot", "X", {}},
    };
    for (const auto &b : boats) {
        a.setBoat({b.id, QString::fromLatin1(b.startnr), QString::fromLatin1(b.name), QString::fromLatin1(b.klasse)});
        a.addPositions(b.id, b.fixes);
    }
    return a;
}

QStringList order(const QList<Standing> &standings, bool classRanks = false)
{
    QStringList result;
    for (const Standing &s : standings)
        result << QStringLiteral("%1 %2").arg(classRanks ? s.classRank : s.rank).arg(s.name);
    return result;
}

bool near(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

} // namespace

void RankingTest::finishedThenGatesThenDistance()
{
    const RaceAnalysis a = fleet();
    const Ranking r = a.rankingAt(t0 + 2000);
    QCOMPARE(order(r.overall()), (QStringList{"1 Alpha", "2 Bravo", "3 Charlie", "4 Delta", "4 Echo", "6 Foxtrot"}));
    QCOMPARE(r.classes(), (QStringList{"X", "Y"}));
    QCOMPARE(order(r.ofClass(QStringLiteral("X")), true), (QStringList{"1 Alpha", "2 Charlie", "3 Foxtrot"}));
    QCOMPARE(order(r.ofClass(QStringLiteral("Y")), true), (QStringList{"1 Bravo", "2 Delta", "2 Echo"}));
    QVERIFY(r.find(3)->state.remainingNm > r.find(4)->state.remainingNm);
    QCOMPARE(r.find(3)->nextMarkName, QStringLiteral("Ziel"));
    QVERIFY(r.find(1)->nextMarkName.isEmpty());
    QCOMPARE(r.find(6)->nextMarkName, QStringLiteral("Start"));

    // Earlier, on the water: by gates, then by distance; a start number "2" before "10"
    // only decides between boats that cannot be told apart.
    QCOMPARE(order(a.rankingAt(t0 + 1000).overall()),
             (QStringList{"1 Alpha", "2 Bravo", "3 Charlie", "4 Delta", "4 Echo", "6 Foxtrot"}));
    QCOMPARE(order(a.rankingAt(t0 - 100).overall()).join(QLatin1Char(',')),
             QStringLiteral("1 Foxtrot,1 Bravo,1 Charlie,1 Delta,1 Echo,1 Alpha"));
}

void RankingTest::gapsToTheLeader()
{
    const RaceAnalysis a = fleet();
    // Alpha leads on the water at 1000, one kilometre from the finish; Bravo follows at the
    // same heading and reaches Alpha's place 100 s later.
    const Ranking early = a.rankingAt(t0 + 1000);
    const Standing *bravo = early.find(2);
    QCOMPARE(early.find(1)->gapNm, 0.0);
    QCOMPARE(early.find(1)->gapSeconds, 0.0);
    QVERIFY(near(bravo->gapNm * 1.852, 12.0 * 1000 / 1200 - 12.0 * 1000 / 1320, 0.005));
    QVERIFY(near(bravo->gapSeconds, 100.0, 1.0));

    // Alpha has finished at 1100: a finished boat is behind by its finish time, a sailing
    // one by the time since Alpha finished plus its own remaining way at its speed.
    const Ranking late = a.rankingAt(t0 + 2000);
    QCOMPARE(late.find(2)->gapNm, 0.0);
    QVERIFY(near(late.find(2)->gapSeconds, 110.0, 0.5));
    const Standing *delta = late.find(4);
    const double toGo = 0.1 + GeoPoint::distanceKm(GeoPoint::midpoint(km(5, 0), km(5, 10)),
                                                   GeoPoint::midpoint(km(10, -1), km(10, 1)));
    QVERIFY(near(delta->gapNm * 1.852, toGo, 0.01));
    QVERIFY(near(delta->gapSeconds, 900.0 + toGo / (5.9 / 2000.0), 5.0));
    // Against the leader of its class, Bravo, who finished 110 s after Alpha.
    QVERIFY(near(delta->classGapSeconds, delta->gapSeconds - 110.0, 0.5));
    QCOMPARE(late.find(5)->gapSeconds, delta->gapSeconds);
    // Too slow for an estimate, and no position at all.
    QVERIFY(late.find(3)->state.speedKnots < 0.5);
    QVERIFY(!std::isnan(late.find(3)->gapNm));
    QVERIFY(std::isnan(late.find(3)->gapSeconds));
    QVERIFY(std::isnan(late.find(6)->gapNm));
    QVERIFY(std::isnan(late.find(6)->gapSeconds));
}

void RankingTest::onlyTheChosenBoats()
{
    const RaceAnalysis a = fleet();
    // Without the finished boats Charlie leads by its gate, although Delta is nearer to the
    // finish by the reckoning: Delta is not ahead for that.
    const Ranking r = a.rankingAt(t0 + 2000, {3, 4, 5, 99});
    QCOMPARE(order(r.overall()), (QStringList{"1 Charlie", "2 Delta", "2 Echo"}));
    QCOMPARE(r.find(4)->gapNm, 0.0);
    QCOMPARE(r.find(4)->gapSeconds, 0.0);
    QCOMPARE(r.find(4)->classRank, 1);
    QVERIFY(!r.find(99));
    QVERIFY(a.rankingAt(t0 + 2000, {}).isEmpty());
}

void RankingTest::newCourseCountsAgain()
{
    RaceAnalysis a = fleet();
    // Finish further out: nobody has finished any more.
    a.setCourse(Course({CourseMark::line(QStringLiteral("Start"), km(0, -1), km(0, 1), 90),
                        CourseMark::line(QStringLiteral("Weit"), km(20, -1), km(20, 1), 90)},
                       true),
                t0);
    for (const Standing &s : a.rankingAt(t0 + 2000).overall())
        QVERIFY(!s.state.finished);
    QCOMPARE(a.rankingAt(t0 + 1000).overall().first().name, QStringLiteral("Alpha"));
    a.removeBoat(1);
    QCOMPARE(a.rankingAt(t0 + 1000).overall().first().name, QStringLiteral("Bravo"));
}
