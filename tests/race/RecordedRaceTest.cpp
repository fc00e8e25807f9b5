#include "tests/race/RecordedRaceTest.h"

#include "race/RaceAnalysis.h"

#include <QFile>
#include <QHash>
#include <QTest>

namespace {

QString valenciaPath()
{
    return QStringLiteral(BRISAVELA_REALDATA_DIR "/valencia-2025-06-21.csv");
}

// boat,race,tstamp,lat,lng; the positions of one race by boat.
QHash<QString, std::vector<PositionFix>> readValencia(const QString &race)
{
    QHash<QString, std::vector<PositionFix>> boats;
    QFile file(valenciaPath());
    if (!file.open(QIODevice::ReadOnly))
        return boats;
    file.readLine();
    while (!file.atEnd()) {
        const QList<QByteArray> f = file.readLine().trimmed().split(',');
        if (f.size() == 5 && f[1] == race.toLatin1())
            boats[QString::fromLatin1(f[0])].push_back({GeoPoint(f[3].toDouble(), f[4].toDouble()), f[2].toInt()});
    }
    return boats;
}

GeoPoint shortOf(const GeoPoint &mark, const GeoPoint &from)
{
    return GeoPoint::destination(mark, -0.02, GeoPoint::bearing(from, mark));
}

// A line north-south east of the start area, crossed eastwards to start and westwards to
// finish; the windward mark to the east-south-east and the leeward mark in the west, twice
// round. The marks are where the boats turned, moved 20 m back along the way in so that a
// boat turning right at the mark has passed it.
Course valenciaCourse(const GeoPoint &windward, const GeoPoint &leeward)
{
    const GeoPoint lineNorth(39.4100, -0.3220);
    const GeoPoint lineSouth(39.4080, -0.3220);
    const GeoPoint middle = GeoPoint::midpoint(lineNorth, lineSouth);
    constexpr double reach = 0.185;
    return Course({CourseMark::line(QStringLiteral("Start"), lineSouth, lineNorth, 90),
                   CourseMark::at(QStringLiteral("Luv 1"), shortOf(windward, middle), reach),
                   CourseMark::at(QStringLiteral("Lee"), shortOf(leeward, windward), reach),
                   CourseMark::at(QStringLiteral("Luv 2"), shortOf(windward, leeward), reach),
                   CourseMark::line(QStringLiteral("Ziel"), lineSouth, lineNorth, 270)},
                  true);
}

} // namespace

void RecordedRaceTest::initTestCase()
{
    if (!QFile::exists(valenciaPath()))
        QSKIP(qPrintable(QStringLiteral("no recorded tracks at %1").arg(valenciaPath())));
}

void RecordedRaceTest::everyRoundingIsFound_data()
{
    QTest::addColumn<QString>("race");
    QTest::addColumn<GeoPoint>("windward");
    QTest::addColumn<GeoPoint>("leeward");
    // Seconds after each boat's first position: start and finish, where its track crosses
    // the line's longitude, and the first rounding of the windward mark, where it turns.
    QTest::addColumn<QList<int>>("winner");
    QTest::addColumn<QList<int>>("second");
    QTest::newRow("P01") << QStringLiteral("P01") << GeoPoint(39.40687, -0.31505) << GeoPoint(39.40921, -0.32252)
                         << QList<int>{404, 796, 1800} << QList<int>{400, 798, 1824};
    QTest::newRow("P02") << QStringLiteral("P02") << GeoPoint(39.40615, -0.31320) << GeoPoint(39.40923, -0.32251)
                         << QList<int>{395, 854, 2027} << QList<int>{404, 867, 2085};
}

void RecordedRaceTest::everyRoundingIsFound()
{
    QFETCH(QString, race);
    QFETCH(GeoPoint, windward);
    QFETCH(GeoPoint, leeward);
    QFETCH(QList<int>, winner);
    QFETCH(QList<int>, second);

    const QHash<QString, std::vector<PositionFix>> tracks = readValencia(race);
    QCOMPARE(tracks.size(), 2);
    RaceAnalysis a(valenciaCourse(windward, leeward), 0);
    int id = 0;
    qint32 end = 0;
    for (auto it = tracks.cbegin(); it != tracks.cend(); ++it) {
        a.setBoat({++id, it.key().right(2), it.key(), QStringLiteral("ILCA")});
        a.addPositions(id, it.value());
        end = std::max(end, it.value().back().time);
    }
    const Ranking r = a.rankingAt(end);
    const QList<Standing> rows = r.overall();
    QCOMPARE(rows.first().name, QStringLiteral("ESP29375"));

    for (const Standing &s : rows) {
        const BoatProgress *p = a.progress(s.boatId);
        const qint32 first = p->positions().front().time;
        const QList<int> &expected = s.rank == 1 ? winner : second;
        QVERIFY2(s.state.finished, qPrintable(s.name));
        const std::vector<BoatProgress::Passing> &x = p->passings();
        QCOMPARE(int(x.size()), 5);
        QVERIFY(std::abs(x[0].time - first - expected[0]) <= 2);
        QVERIFY2(std::abs(x[1].time - first - expected[1]) <= 30, qPrintable(QString::number(x[1].time - first)));
        QVERIFY(std::abs(x[4].time - first - expected[2]) <= 2);
        QCOMPARE(s.state.elapsedSeconds, x[4].time - x[0].time);
    }

    // The winner's way left shrinks as it sails: tacks, gybes and GPS scatter at one
    // position a second, and the turn at a mark, add a few
    // metres at most.
    const BoatProgress *leader = a.progress(rows.first().boatId);
    const std::vector<BoatProgress::Passing> &x = leader->passings();
    double previous = 1e9;
    double minutely = 1e9;
    for (qint64 t = qint64(x[0].time) + 1; t < x[4].time; t += 5) {
        const double left = leader->stateAt(t).remainingNm;
        QVERIFY2(left < previous + 0.01,
                 qPrintable(QStringLiteral("%1 s: %2 after %3").arg(t - x[0].time).arg(left).arg(previous)));
        previous = left;
        if ((t - qint64(x[0].time)) % 60 == 1) {
            QVERIFY2(left < minutely, qPrintable(QString::number(t - x[0].time)));
            minutely = left;
        }
    }
}
