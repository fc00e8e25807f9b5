#include "tests/race/CourseCatalogueTest.h"

#include "chart/GateItem.h"
#include "race/CourseCatalogue.h"

#include <QTest>

#include <cmath>

using Set = GateCatalogue::Set;
Q_DECLARE_METATYPE(GateCatalogue::Set)

void CourseCatalogueTest::everySetMakesACourse_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("marks");
    QTest::addColumn<bool>("startLine");
    QTest::addColumn<QString>("first");
    QTest::newRow("A") << Set::A << 11 << true << QStringLiteral("Biograd Start");
    QTest::newRow("B") << Set::B << 10 << false << QStringLiteral("Dugi Otok North");
    QTest::newRow("C") << Set::C << 12 << false << QStringLiteral("Golac");
    QTest::newRow("D") << Set::D << 8 << false << QStringLiteral("Karantunic");
    QTest::newRow("E") << Set::E << 11 << true << QStringLiteral("Start Komiza");
}

void CourseCatalogueTest::everySetMakesACourse()
{
    QFETCH(Set, set);
    QFETCH(int, marks);
    QFETCH(bool, startLine);
    QFETCH(QString, first);
    const Course c = CourseCatalogue::course(set);
    QCOMPARE(c.count(), marks);
    QCOMPARE(c.hasStartLine(), startLine);
    QCOMPARE(c.mark(0).name, first);
    QVERIFY(c.mark(c.count() - 1).name.contains(QLatin1String("Ziel")));
    QCOMPARE(c.lengthAfterKm(c.count() - 1), 0.0);
    for (int i = 1; i < c.count(); ++i)
        QVERIFY(c.lengthAfterKm(i) < c.lengthAfterKm(i - 1));

    // The lines are where the chart draws the gates, and a direction that counts runs
    // well across its line, not along it.
    for (const GateDefinition &g : GateCatalogue::gates(set)) {
        const GateItem item(g.lat1, g.lng1, g.lat2, g.lng2, g.bearing, g.length, g.name, g.midFlag);
        for (const CourseMark &m : c.marks()) {
            if (m.name != g.name)
                continue;
            QVERIFY(GeoPoint::distanceKm(m.end1, item.geoEnd1()) < 1e-6);
            QVERIFY(GeoPoint::distanceKm(m.end2, item.geoEnd2()) < 1e-6);
            QVERIFY(GeoPoint::distanceKm(m.reference, item.anchor()) < 1e-6);
        }
    }
    for (const CourseMark &m : c.marks()) {
        if (!m.isDirected())
            continue;
        const double across = GeoPoint::bearing(m.end1, m.end2) - m.crossingCourse;
        QVERIFY2(std::abs(std::sin(Geo::radians(across))) > 0.5, qPrintable(m.name));
    }
    QVERIFY(CourseCatalogue::course(Set::None).isEmpty());
    QCOMPARE(CourseCatalogue::courseFor(10, 88).count(), 11);
}

void CourseCatalogueTest::setERunsOutAlongTheRouteAndBack()
{
    const Course c = CourseCatalogue::course(Set::E);
    const QList<GateDefinition> route = GateCatalogue::gates(Set::E);
    // Each leg of the route is passed at its end; the way in is the leg.
    for (int k = 0; k < route.size(); ++k) {
        const CourseMark &m = c.mark(k + 1);
        QVERIFY(m.point && m.hasLegStart);
        QCOMPARE(m.name, QStringLiteral("Rtg. Palagruza (%1)").arg(k + 1));
        QCOMPARE(m.end1, GeoPoint(route[k].lat2, route[k].lng2));
        QCOMPARE(m.legStart, GeoPoint(route[k].lat1, route[k].lng1));
    }
    // Round Palagruza, reckoned from the island; home over the start line the other way.
    QCOMPARE(c.mark(9).name, QStringLiteral("Palagruza"));
    QCOMPARE(c.mark(9).reference, GeoPoint(42.391933, 16.255316));
    QVERIFY(!c.mark(9).isDirected());
    QCOMPARE(c.mark(10).end1, c.mark(0).end1);
    QCOMPARE(std::fmod(c.mark(10).crossingCourse - c.mark(0).crossingCourse + 360, 360.0), 180.0);
    // Some 80 km out and back again.
    QVERIFY(c.lengthAfterKm(0) > 140 && c.lengthAfterKm(0) < 180);
}
