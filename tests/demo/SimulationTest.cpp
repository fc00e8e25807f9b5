#include "tests/demo/SimulationTest.h"

#include "tests/demo/DemoWorld.h"
#include "tools/coastline/LandMask.h"
#include "tools/regattasim/RaceBook.h"
#include "tools/regattasim/SimulatedRegatta.h"

#include <QSet>
#include <QStringList>
#include <QTest>

#include <cmath>

void SimulationTest::initTestCase()
{
    QVERIFY2(!DemoWorld::coastline().isEmpty(), qPrintable(Coastline::adriaticPath()));
}

void SimulationTest::sameDefinitionSameRace()
{
    const RaceDefinition def = DemoWorld::definition(125);
    const SimulatedRegatta again(def, DemoWorld::coastline());
    const SimulatedRegatta &first = DemoWorld::regatta(125);
    QCOMPARE(again.boats().size(), first.boats().size());
    for (const FleetBoat &b : first.boats()) {
        const QList<Fix> a = first.track(b.id);
        const QList<Fix> c = again.track(b.id);
        QCOMPARE(c.size(), a.size());
        for (qsizetype i = 0; i < a.size(); i += 97) {
            QCOMPARE(c[i].time, a[i].time);
            QCOMPARE(c[i].lat, a[i].lat);
            QCOMPARE(c[i].lng, a[i].lng);
        }
    }
}

void SimulationTest::fleetsAreShapedForTheViewer()
{
    QSet<int> ids;
    int hidden = 0;
    for (int eventId : {10, 21, 125, RaceBook::liveEventId}) {
        const SimulatedRegatta &race = DemoWorld::regatta(eventId);
        QVERIFY2(race.boats().size() >= 20 && race.boats().size() <= 40, qPrintable(QString::number(eventId)));
        QHash<QString, QStringList> numbers;
        QSet<QString> names;
        for (const FleetBoat &b : race.boats()) {
            QVERIFY2(!ids.contains(b.id), "boat ids are keys across all events");
            ids.insert(b.id);
            hidden += b.id == 38;
            numbers[b.klasse].append(b.startnr);
            names.insert(b.name);
            for (const QString &text : {b.klasse, b.name, b.team, b.skipper, b.startnr, b.sailNumber})
                QVERIFY2(!text.contains(QLatin1Char('|')) && !text.contains(QLatin1Char('\n')), qPrintable(text));
        }
        QVERIFY(numbers.size() >= 4 && numbers.size() <= 5);
        QCOMPARE(names.size(), race.boats().size());
        // Numeric sorting shows only where "2" and "10" meet in one class.
        for (auto it = numbers.cbegin(); it != numbers.cend(); ++it) {
            QVERIFY2(it->contains(QStringLiteral("2")) && it->contains(QStringLiteral("10")), qPrintable(it.key()));
            QCOMPARE(QSet<QString>(it->cbegin(), it->cend()).size(), it->size());
        }
    }
    QCOMPARE(hidden, 1);
}

namespace {

// Whether the segments p–q and a–b meet, touching included, on a flat map around a.
bool segmentsMeet(const LatLng &p, const LatLng &q, const LatLng &a, const LatLng &b)
{
    const double k = std::cos(a.lat * 3.141592653589793 / 180.0);
    auto x = [&](const LatLng &v) { return (v.lng - a.lng) * k; };
    auto y = [&](const LatLng &v) { return v.lat - a.lat; };
    auto side = [&](const LatLng &o, const LatLng &d, const LatLng &v) {
        const double s = (x(d) - x(o)) * (y(v) - y(o)) - (y(d) - y(o)) * (x(v) - x(o));
        return s > 0 ? 1 : (s < 0 ? -1 : 0);
    };
    return side(p, q, a) * side(p, q, b) <= 0 && side(a, b, p) * side(a, b, q) <= 0;
}

} // namespace

void SimulationTest::boatsSailTheWholeCourseOverWater_data()
{
    QTest::addColumn<int>("eventId");
    for (int eventId : {10, 21, RaceBook::liveEventId, 125})
        QTest::addRow("%d", eventId) << eventId;
}

void SimulationTest::boatsSailTheWholeCourseOverWater()
{
    QFETCH(int, eventId);
    const SimulatedRegatta &race = DemoWorld::regatta(eventId);
    const RaceDefinition &def = race.definition();
    // Finer than the simulation's own raster, so a boat cutting a corner shows.
    const LandMask land(DemoWorld::coastline(), def.area[0], def.area[1], def.area[2], def.area[3], 0.0005);
    const QList<Passage> &lines = def.course;
    QSet<qint64> finishes;
    qsizetype finishers = 0;
    QStringList faults;
    for (const FleetBoat &b : race.boats()) {
        const QList<Fix> track = race.track(b.id);
        QVERIFY(!track.isEmpty());
        const QString boat = QStringLiteral("boat %1").arg(b.id);
        int onLand = 0;
        for (const Fix &f : track)
            onLand += land.isLand(f.lat, f.lng);
        // A few metres of GPS scatter may touch a shore, a boat may not cross an island.
        if (onLand > 2)
            faults << QStringLiteral("%1: %2 reports on land").arg(boat).arg(onLand);

        // The reports, joined as the viewer joins them, cross every line of the course in
        // its order; a boat that turns before a line is over it has not passed it.
        qsizetype passed = 0;
        qint64 finishedAt = 0;
        for (qsizetype i = 1; i < track.size(); ++i) {
            const LatLng p{track[i - 1].lat, track[i - 1].lng};
            const LatLng q{track[i].lat, track[i].lng};
            while (passed < lines.size() && segmentsMeet(p, q, lines[passed].a, lines[passed].b))
                ++passed;
            if (passed == lines.size() && finishedAt == 0)
                finishedAt = track[i].time;
        }
        // Over the finish line more than once (back over it and across again): the last time.
        for (qsizetype i = track.size() - 1; i > 0 && finishedAt > 0; --i) {
            if (segmentsMeet({track[i - 1].lat, track[i - 1].lng}, {track[i].lat, track[i].lng}, lines.last().a,
                             lines.last().b)) {
                finishedAt = track[i].time;
                break;
            }
        }
        // Only the live race may still be on when its window closes; its slower boats are.
        const bool stillRacing = eventId == RaceBook::liveEventId && track.last().time > def.bis - 60;
        if (passed < lines.size() && !stillRacing) {
            faults << QStringLiteral("%1: stops before line %2 of %3").arg(boat).arg(passed).arg(lines.size());
            continue;
        }
        if (passed < lines.size())
            finishedAt = def.bis;
        // Racing, it never stands still: ten minutes cover more than a few hundred metres
        // even beating in the lightest air (or turning round a mark).
        double km = 0;
        for (qsizetype i = 1; i < track.size() && track[i].time <= finishedAt; ++i) {
            km += Geo::distanceKm({track[i - 1].lat, track[i - 1].lng}, {track[i].lat, track[i].lng});
            if (i >= 10)
                km -= Geo::distanceKm({track[i - 10].lat, track[i - 10].lng}, {track[i - 9].lat, track[i - 9].lng});
            if (i >= 10 && km < 0.2) {
                faults << QStringLiteral("%1: stands still at %2, %3 after %4 min")
                              .arg(boat).arg(track[i].lat).arg(track[i].lng).arg((track[i].time - def.start) / 60);
                break;
            }
        }
        if (passed < lines.size())
            continue;
        // Past the finish it reports a few minutes more, then falls silent.
        if (track.last().time >= def.bis || track.last().time - finishedAt > 10 * 60)
            faults << QStringLiteral("%1: reports on after its finish").arg(boat);
        finishes.insert(track.last().time);
        ++finishers;
    }
    for (const QString &fault : std::as_const(faults))
        qWarning().noquote() << QStringLiteral("event %1, %2").arg(eventId).arg(fault);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults in event %2").arg(faults.size()).arg(eventId)));
    QVERIFY2(finishes.size() > race.boats().size() / 2, "most boats finish");
    QVERIFY2(finishes.size() > finishers * 3 / 4, "boats finish at different times");
}

void SimulationTest::reportsComeEveryMinuteInsideTheWindow()
{
    const SimulatedRegatta &race = DemoWorld::regatta(125);
    const RaceDefinition &def = race.definition();
    for (const FleetBoat &b : race.boats()) {
        const QList<Fix> track = race.track(b.id);
        QVERIFY(track.first().time >= def.start && track.first().time < def.start + 60);
        for (qsizetype i = 1; i < track.size(); ++i)
            QCOMPARE(track[i].time - track[i - 1].time, qint64(60));
        // Strictly after `after`, up to the earlier of window end and now.
        const qint64 after = track[10].time;
        const qint64 now = track[20].time;
        const QList<Fix> part = race.reportsAfter(b.id, after, now);
        QCOMPARE(part.size(), 10);
        QCOMPARE(part.first().time, track[11].time);
        QCOMPARE(part.last().time, now);
        QVERIFY(race.reportsAfter(b.id, track.last().time, def.bis + 100000).isEmpty());
        QCOMPARE(race.reportsAfter(b.id, 0, def.bis + 100000).size(), track.size());
    }
    QVERIFY(race.reportsAfter(4711, 0, def.bis).isEmpty());
}

void SimulationTest::windTurnsAndBoatsTackUpwind()
{
    const RaceDefinition def = DemoWorld::definition(125);
    double lo = 360, hi = 0;
    for (qint64 t = def.start; t < def.start + 12 * 3600; t += 600) {
        const Sailing::Wind w = def.wind.at(42.7, 16.1, t);
        const double off = Sailing::angleBetween(318, w.fromDegrees);
        lo = std::min(lo, off);
        hi = std::max(hi, off);
        QVERIFY(w.knots >= 3 && w.knots < 30);
    }
    QVERIFY2(hi - lo > 15 && hi < 45 && lo > -45, "the wind swings, but stays a north-westerly");
    QCOMPARE(Sailing::boatSpeed(0, 12, 8), 0.0);
    QVERIFY(Sailing::boatSpeed(90, 12, 8) > Sailing::boatSpeed(Sailing::beatAngle, 12, 8));
    QVERIFY(Sailing::boatSpeed(90, 20, 8) > Sailing::boatSpeed(90, 8, 8));

    // Back from Palagruza against the mistral every boat beats: its course swings
    // between two tacks instead of pointing at the finish.
    const SimulatedRegatta &race = DemoWorld::regatta(125);
    for (const FleetBoat &b : race.boats()) {
        int tacks = 0;
        const QList<Fix> track = race.track(b.id);
        for (qsizetype i = 1; i < track.size(); ++i) {
            if (std::abs(Sailing::angleBetween(track[i - 1].course, track[i].course)) > 60)
                ++tacks;
        }
        QVERIFY2(tacks >= 4, qPrintable(QString::number(b.id)));
    }
}

void SimulationTest::liveRaceDependsOnlyOnItsStart()
{
    const qint64 start = 1800000000;
    const RaceDefinition a = RaceBook::live(start);
    const RaceDefinition b = RaceBook::live(start);
    QCOMPARE(a.von, b.von);
    QVERIFY(a.von < a.start && a.start < a.bis);
    QCOMPARE(RaceBook::defaultLiveStart(1800000059), qint64(1800000000 - 1800));
    const SimulatedRegatta race(a, DemoWorld::coastline());
    const int boat = race.boats().first().id;
    // Half an hour in, the boats have reported for half an hour and not a minute more.
    const QList<Fix> sofar = race.reportsAfter(boat, a.von, start + 1800);
    QVERIFY(sofar.size() >= 30 && sofar.size() <= 31);
    QVERIFY(sofar.last().time <= start + 1800);
}
