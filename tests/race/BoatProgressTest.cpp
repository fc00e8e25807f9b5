#include "tests/race/BoatProgressTest.h"

#include "race/BoatProgress.h"
#include "tests/race/SeaChart.h"

#include <QRandomGenerator>
#include <QTest>

#include <limits>

using namespace SeaChart;

Q_DECLARE_METATYPE(std::vector<PositionFix>)

namespace {
constexpr double either = std::numeric_limits<double>::quiet_NaN();

// A line running north at `east`, from `south` to `north` kilometres.
CourseMark northward(double east, double south, double north, double crossing = either)
{
    return CourseMark::line(QStringLiteral("x=%1").arg(east), km(east, south), km(east, north), crossing);
}

std::shared_ptr<const Course> course(const QList<CourseMark> &marks, bool startLine = false)
{
    return std::make_shared<const Course>(marks, startLine);
}

// Seconds after t0 of every passing, in order.
QList<double> passings(const BoatProgress &p)
{
    QList<double> result;
    for (const BoatProgress::Passing &x : p.passings())
        result.append(x.time - t0);
    return result;
}

QList<double> passingsOf(const std::shared_ptr<const Course> &c, const std::vector<PositionFix> &fixes,
                         qint64 startTime = 0)
{
    BoatProgress p(c, startTime);
    p.add(fixes);
    return passings(p);
}

#define COMPARE_TIMES(actual, expected)                                                                     \
    do {                                                                                                    \
        const QList<double> a_ = (actual);                                                                  \
        const QList<double> e_ = (expected);                                                                \
        if (a_.size() != e_.size())                                                                         \
            qWarning() << "passings" << a_ << "expected" << e_;                                             \
        QCOMPARE(a_.size(), e_.size());                                                                     \
        for (qsizetype i_ = 0; i_ < a_.size(); ++i_)                                                        \
            QVERIFY2(std::abs(a_[i_] - e_[i_]) < 0.5, qPrintable(QStringLiteral("passing %1: %2 instead of %3") \
                                                                     .arg(i_).arg(a_[i_]).arg(e_[i_])));    \
    } while (false)
} // namespace

void BoatProgressTest::crossingALine_data()
{
    QTest::addColumn<double>("crossing");
    QTest::addColumn<double>("north");
    QTest::addColumn<bool>("eastwards");
    QTest::addColumn<bool>("counts");
    QTest::newRow("either way, east") << either << 0.0 << true << true;
    QTest::newRow("either way, west") << either << 0.0 << false << true;
    QTest::newRow("eastwards, east") << 90.0 << 0.0 << true << true;
    QTest::newRow("eastwards, west") << 90.0 << 0.0 << false << false;
    QTest::newRow("north-east counts east") << 45.0 << 0.0 << true << true;
    QTest::newRow("westwards, west") << 270.0 << -0.5 << false << true;
    QTest::newRow("just inside the end") << either << 0.999 << true << true;
    QTest::newRow("beside the line") << either << 1.001 << true << false;
    QTest::newRow("beside the other end") << either << -1.5 << false << false;
}

void BoatProgressTest::crossingALine()
{
    QFETCH(double, crossing);
    QFETCH(double, north);
    QFETCH(bool, eastwards);
    QFETCH(bool, counts);
    const double from = eastwards ? -3 : 3;
    const auto fixes = track({{from, north, 0}, {-from / 3, north, 400}});
    COMPARE_TIMES(passingsOf(course({northward(0, -1, 1, crossing)}), fixes),
                  counts ? QList<double>{300} : QList<double>{});
}

void BoatProgressTest::touchingAGateEndCountsOnce()
{
    // The same gate twice in a row, as a course through a gate and back through it has.
    const auto twice = course({northward(0, -1, 1), northward(0, -1, 1)});
    // Up to the end and back to the same side: there and not again on leaving; the
    // second time round counts only when the boat really crosses again.
    COMPARE_TIMES(passingsOf(twice, track({{-1, 0, 0}, {0, 1, 100}, {-1, 2, 200}, {-1, 0, 250}, {1, 0, 350}})),
                  (QList<double>{100, 300}));
    // Through the end to the other side: once.
    COMPARE_TIMES(passingsOf(twice, track({{-1, 2, 0}, {0, 1, 100}, {1, 0, 200}})), QList<double>{100});
    // A track that begins on the line has not crossed it with its first leg.
    COMPARE_TIMES(passingsOf(twice, track({{0, 1, 0}, {1, 0, 100}, {-1, 0, 200}})), QList<double>{150});
}

void BoatProgressTest::crossingTwiceCountsTheFirstWayThatCounts()
{
    const auto fixes = track({{-1, 0, 0}, {1, 0, 100}, {-1, 0, 200}, {6, 0, 900}});
    // Either way: the first crossing; the next gate is then looked for after it.
    COMPARE_TIMES(passingsOf(course({northward(0, -1, 1), northward(5, -1, 1)}), fixes), (QList<double>{50, 800}));
    // Eastwards only: coming back over the line is nothing, crossing it again is the passing.
    const auto backwardsFirst = track({{1, 0, 0}, {-1, 0, 100}, {6, 0, 800}});
    COMPARE_TIMES(passingsOf(course({northward(0, -1, 1, 90), northward(5, -1, 1)}), backwardsFirst),
                  (QList<double>{200, 700}));
}

void BoatProgressTest::missedMarkBlocksTheRestUntilRounded()
{
    const auto c = course({northward(0, -1, 1, 90), northward(5, -5, 5), northward(10, -5, 5)});
    BoatProgress p(c, 0);
    // North of the first gate, through the other two: nothing counts.
    p.add(track({{-1, 3, 0}, {11, 3, 1200}}));
    QVERIFY(p.passings().empty());
    QCOMPARE(p.stateAt(t0 + 1200).nextMark, 0);
    // Back, and round again through the first gate: now all three count, in order.
    p.add(track({{-1, 0, 2400}, {11, 0, 3600}}));
    COMPARE_TIMES(passings(p), (QList<double>{2500, 3000, 3500}));
    QCOMPARE(p.stateAt(t0 + 2000).marksPassed, 0);
    QCOMPARE(p.stateAt(t0 + 3200).marksPassed, 2);
}

void BoatProgressTest::pointMarks()
{
    // On a straight course a mark is passed within its reach and missed beyond it.
    const auto straight = course({northward(0, -2, 2), CourseMark::at(QStringLiteral("Tonne"), km(5, 0), 1.0),
                                  northward(10, -5, 5)});
    COMPARE_TIMES(passingsOf(straight, track({{-1, 0.5, 0}, {11, 0.5, 1200}})), (QList<double>{100, 600, 1100}));
    COMPARE_TIMES(passingsOf(straight, track({{-1, 1.5, 0}, {11, 1.5, 1200}})), QList<double>{100});

    // A boat may cut the corner of a bend: the line across the course there is the bisector's.
    const auto bend = course({northward(0, -1, 1), CourseMark::at(QStringLiteral("Tonne"), km(5, 0), 1.0),
                              CourseMark::line(QStringLiteral("Nord"), km(4, 5), km(6, 5), 0)});
    COMPARE_TIMES(passingsOf(bend, track({{-1, 0, 0}, {4.6, 0.2, 560}, {4.8, 6, 1140}})),
                  (QList<double>{100, 579.3, 1040}));

    // Where the course turns back, the boat has to get round the mark: turning short of it
    // is missing it.
    const auto rounding = course({northward(0, -1, 1, 90), CourseMark::at(QStringLiteral("Tonne"), km(5, 0), 1.0),
                                  northward(2, -1, 1, 270)});
    COMPARE_TIMES(passingsOf(rounding, track({{-1, 0.5, 0}, {4.9, 0.5, 590}, {1, -0.5, 980}})), QList<double>{100});
    COMPARE_TIMES(passingsOf(rounding, track({{-1, 0.5, 0}, {5.5, 0.5, 650}, {5.5, -0.5, 700}, {1, -0.5, 1150}})),
                  (QList<double>{100, 600, 1050}));

    // A gate whose two ends coincide is such a mark.
    const CourseMark zero = CourseMark::line(QStringLiteral("Null"), km(5, 0), km(5, 0), 90);
    QVERIFY(zero.point);
    QVERIFY(!zero.isDirected());
}

void BoatProgressTest::severalGatesInOneLeg()
{
    const auto c = course({northward(0, -1, 1), northward(2, -1, 1), northward(4, -1, 1)});
    COMPARE_TIMES(passingsOf(c, track({{-1, 0, 0}, {5, 0, 600}})), (QList<double>{100, 300, 500}));
}

void BoatProgressTest::startCountsOnlyAfterTheGun_data()
{
    QTest::addColumn<qint64>("gun");
    QTest::addColumn<std::vector<PositionFix>>("fixes");
    QTest::addColumn<QList<double>>("expected");
    const qint64 gun = t0 + 500;
    QTest::newRow("early, back, and again") << gun << track({{-1, 0, 0}, {1, 0, 200}, {-1, 0, 400}, {1, 0, 800}})
                                            << QList<double>{600};
    QTest::newRow("leg over the gun, line before") << gun << track({{-1, 0, 0}, {1, 0, 800}}) << QList<double>{};
    QTest::newRow("leg over the gun, line after") << gun << track({{-1, 0, 0}, {1, 0, 1200}}) << QList<double>{600};
    QTest::newRow("tracker on late, beyond the line") << gun << track({{1, 0, 520}, {3, 0, 620}})
                                                      << QList<double>{520};
    QTest::newRow("tracker on late, behind the line") << gun << track({{-1, 0, 520}, {1, 0, 620}})
                                                      << QList<double>{570};
    QTest::newRow("over the line at the gun and stays") << gun << track({{1, 0, 0}, {2, 0, 1000}}) << QList<double>{};
    QTest::newRow("no start time") << qint64(0) << track({{-1, 0, 0}, {1, 0, 200}}) << QList<double>{100};
}

void BoatProgressTest::startCountsOnlyAfterTheGun()
{
    QFETCH(qint64, gun);
    QFETCH(std::vector<PositionFix>, fixes);
    QFETCH(QList<double>, expected);
    const auto c = course({northward(0, -1, 1, 90), northward(10, -5, 5, 90)}, true);
    COMPARE_TIMES(passingsOf(c, fixes, gun), expected);
}

void BoatProgressTest::positionsInAnyOrderGiveTheSameResult()
{
    const auto c = course({northward(0, -2, 2, 90), CourseMark::at(QStringLiteral("Tonne"), km(6, 0), 1.5),
                           northward(3, -2, 2, 270), northward(8, -3, 3, 90)},
                          true);
    // Out round the mark, back through the second line, out through the third, zigzagging
    // over each line a few times on the way; a position every 20 seconds.
    const double way[] = {-2, 7, 2, 9};
    std::vector<PositionFix> fixes;
    for (int i = 0; i < 450; ++i) {
        const int leg = std::min(i / 150, 2);
        const double share = (i - 150 * leg) / 150.0;
        const double east = way[leg] + share * (way[leg + 1] - way[leg]) + 0.4 * std::sin(i * 0.9);
        fixes.push_back({km(east, 1.2 * std::sin(i * 0.05)), t0 + 20 * i});
    }
    BoatProgress whole(c, t0 + 100);
    QCOMPARE(whole.add(fixes), 0);
    QVERIFY2(whole.passings().size() == 4, "the tacks make the course");

    auto sameAsWhole = [&](const BoatProgress &p) {
        QCOMPARE(p.positions().size(), fixes.size());
        QCOMPARE(p.passings().size(), whole.passings().size());
        for (size_t i = 0; i < p.passings().size(); ++i) {
            QCOMPARE(p.passings()[i].mark, whole.passings()[i].mark);
            QCOMPARE(p.passings()[i].time, whole.passings()[i].time);
        }
    };

    // One by one, as a live race comes in.
    BoatProgress live(c, t0 + 100);
    for (size_t i = 0; i < fixes.size(); ++i)
        QCOMPARE(live.add({fixes[i]}), int(i));
    sameAsWhole(live);

    // Shuffled batches, as answers that overlap and arrive late do.
    for (int round = 0; round < 20; ++round) {
        std::vector<PositionFix> shuffled = fixes;
        std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
        BoatProgress p(c, t0 + 100);
        size_t at = 0;
        while (at < shuffled.size()) {
            const size_t n = std::min(shuffled.size() - at, size_t(1 + QRandomGenerator::global()->bounded(60)));
            p.add(std::vector<PositionFix>(shuffled.begin() + long(at), shuffled.begin() + long(at + n)));
            at += n;
        }
        sameAsWhole(p);
    }

    // A gap filled in later: the passings are worked out again from there on, and a time
    // the boat already has keeps its first position.
    std::vector<PositionFix> gap = fixes;
    gap.erase(gap.begin() + 150, gap.begin() + 200);
    BoatProgress filled(c, t0 + 100);
    filled.add(gap);
    std::vector<PositionFix> missing(fixes.begin() + 150, fixes.begin() + 200);
    missing.push_back({km(50, 50), fixes[10].time});
    QCOMPARE(filled.add(missing), 150);
    sameAsWhole(filled);
    QCOMPARE(filled.positions()[10].position, fixes[10].position);
    QCOMPARE(filled.add({fixes[3]}), int(fixes.size()));
}

void BoatProgressTest::finishAndElapsedTime()
{
    const QList<CourseMark> marks = {northward(0, -1, 1, 90), northward(10, -5, 5, 90)};
    const auto fixes = track({{-1, 0, 0}, {11, 0, 1200}});
    BoatProgress fromGun(course(marks, true), t0 + 50);
    fromGun.add(fixes);
    QVERIFY(!fromGun.stateAt(t0 + 1099).finished);
    QCOMPARE(fromGun.stateAt(t0 + 1099).nextMark, 1);
    const BoatState done = fromGun.stateAt(t0 + 1100);
    QVERIFY(done.finished);
    QCOMPARE(done.finishTime, double(t0 + 1100));
    QCOMPARE(done.elapsedSeconds, 1050.0);
    QCOMPARE(done.remainingNm, 0.0);
    QVERIFY(std::isnan(done.distanceToNextNm));

    // Without a start time from the boat's own start; without a start line from its first position.
    BoatProgress ownStart(course(marks, true), 0);
    ownStart.add(fixes);
    QCOMPARE(ownStart.stateAt(t0 + 1200).elapsedSeconds, 1000.0);
    BoatProgress noStartLine(course(marks, false), 0);
    noStartLine.add(fixes);
    QCOMPARE(noStartLine.stateAt(t0 + 1200).elapsedSeconds, 1100.0);
}

void BoatProgressTest::stateAtATime()
{
    const auto c = course({northward(0, -1, 1), CourseMark::at(QStringLiteral("Tonne"), km(5, 0), 1.0),
                           northward(10, -1, 1)});
    // 12 km in 1200 s: 36 km/h, due east.
    BoatProgress p(c, 0);
    p.add(track({{-1, 0, 0}, {11, 0, 1200}}));
    const double knots = 36.0 / 1.852;

    const BoatState before = p.stateAt(t0 - 10);
    QVERIFY(!before.hasPosition);
    QVERIFY(std::isnan(before.remainingNm));

    QCOMPARE(p.stateAt(t0 + 100).marksPassed, 1); // the crossing's own second counts
    const BoatState s = p.stateAt(t0 + 300);
    QVERIFY(GeoPoint::distanceKm(s.position, km(2, 0)) < 0.001);
    QCOMPARE(s.nextMark, 1);
    QVERIFY(std::abs(s.distanceToNextNm * 1.852 - 3.0) < 0.01);
    QVERIFY(std::abs(s.remainingNm * 1.852 - 8.0) < 0.01);
    QVERIFY(std::abs(s.speedKnots - knots) < 0.05);
    QVERIFY(std::abs(s.courseDegrees - 90.0) < 0.5);

    // To a line, the distance is to its nearest point.
    QVERIFY(std::abs(c->distanceToKm(2, km(7, 0.5)) - 3.0) < 0.01);
    QVERIFY(std::abs(c->distanceToKm(2, km(7, 3)) - std::hypot(3.0, 2.0)) < 0.01);

    // After the last position the boat stays there, with the speed of its last minute.
    const BoatState late = p.stateAt(t0 + 5000);
    QVERIFY(late.finished);
    QCOMPARE(late.position, km(11, 0));
    QVERIFY(std::abs(late.speedKnots - knots) < 0.05);

    BoatProgress single(c, 0);
    single.add(track({{-1, 0, 0}}));
    QVERIFY(single.stateAt(t0 + 30).hasPosition);
    QVERIFY(std::isnan(single.stateAt(t0 + 30).speedKnots));
}
