#include "tests/race/GateCatalogueTest.h"

#include "chart/GateItem.h"
#include "race/GateCatalogue.h"

#include <QTest>

#include <cmath>
#include <memory>

using Set = GateCatalogue::Set;
Q_DECLARE_METATYPE(GateCatalogue::Set)

namespace {
std::unique_ptr<GateItem> item(const GateDefinition &d)
{
    return std::make_unique<GateItem>(d.lat1, d.lng1, d.lat2, d.lng2, d.bearing, d.length, d.name, d.midFlag);
}

QStringList names(Set set)
{
    QStringList result;
    for (const GateDefinition &d : GateCatalogue::gates(set))
        result << d.name;
    return result;
}

const GateDefinition &named(const QList<GateDefinition> &gates, const char *name)
{
    for (const GateDefinition &d : gates) {
        if (d.name == QLatin1String(name))
            return d;
    }
    qFatal("no gate %s", name);
}
} // namespace

void GateCatalogueTest::selectionByEventAndTask_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<int>("task");
    QTest::addColumn<Set>("set");
    QTest::newRow("10/88") << 10 << 88 << Set::A;
    QTest::newRow("10/89") << 10 << 89 << Set::None;
    QTest::newRow("21/120") << 21 << 120 << Set::A;
    QTest::newRow("21/88") << 21 << 88 << Set::None;
    QTest::newRow("100/200") << 100 << 200 << Set::B;
    QTest::newRow("100/201") << 100 << 201 << Set::None;
    for (int task : {218, 219, 220})
        QTest::addRow("104/%d", task) << 104 << task << Set::B;
    QTest::newRow("104/221") << 104 << 221 << Set::None;
    QTest::newRow("105/221") << 105 << 221 << Set::B;
    QTest::newRow("105/222") << 105 << 222 << Set::None;
    QTest::newRow("106/222") << 106 << 222 << Set::B;
    QTest::newRow("106/221") << 106 << 221 << Set::None;
    QTest::newRow("112/1") << 112 << 1 << Set::B;
    QTest::newRow("112/999") << 112 << 999 << Set::B;
    for (int event : {114, 115, 117, 120, 121})
        QTest::addRow("%d/any", event) << event << 5 << Set::C;
    QTest::newRow("116/5") << 116 << 5 << Set::None;
    QTest::newRow("122/0") << 122 << 0 << Set::D;
    QTest::newRow("125/279") << 125 << 279 << Set::E;
    QTest::newRow("125/281") << 125 << 281 << Set::E;
    QTest::newRow("first start 123/274") << 123 << 274 << Set::None;
}

void GateCatalogueTest::selectionByEventAndTask()
{
    QFETCH(int, event);
    QFETCH(int, task);
    QFETCH(Set, set);
    QCOMPARE(GateCatalogue::setFor(event, task), set);
    QCOMPARE(GateCatalogue::gatesFor(event, task).isEmpty(), set == Set::None);
}

void GateCatalogueTest::setsHaveTheirGatesInOrder()
{
    const QStringList a = names(Set::A);
    QCOMPARE(a.size(), 11);
    QCOMPARE(a.first(), QStringLiteral("Biograd Start"));
    QCOMPARE(a.last(), QStringLiteral("Biograd Ziel"));
    QCOMPARE(names(Set::B), a.mid(1));
    QCOMPARE(names(Set::C),
             (QStringList{"Golac", "Drvenik", "Bisevo-Vis", "Gate Palagruza", "Palagruza", "Gate Palagruza", "Mljet",
                          "Lastovo", "Vis - Hvar", "Drvenik", "Prisnjak", "Biograd Ziel"}));
    QCOMPARE(names(Set::D), (QStringList{"Karantunic", "Zizanj", "Zirje", "Bisevo-Hvar", "Palagruza", "Mljet",
                                         "Golac", "Biograd Ziel"}));
    const QList<GateDefinition> e = GateCatalogue::gates(Set::E);
    QCOMPARE(e.size(), 8);
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(e[k].name, QStringLiteral("Rtg. Palagruza"));
        QVERIFY(e[k].midFlag);
        if (k > 0) {
            QCOMPARE(e[k].lat1, e[k - 1].lat2);
            QCOMPARE(e[k].lng1, e[k - 1].lng2);
        }
    }
    QCOMPARE(e.first().lat1, 42.7674573);
    QCOMPARE(e.last().lng2, 16.0244896);

    // The duplicated entries of set C are the same gate.
    const QList<GateDefinition> c = GateCatalogue::gates(Set::C);
    QCOMPARE(c[3].lat1, c[5].lat1);
    QCOMPARE(c[3].lng2, c[5].lng2);
    QCOMPARE(c[1].lat2, c[9].lat2);
}

void GateCatalogueTest::computedAndGivenSecondEnds()
{
    const QList<GateDefinition> a = GateCatalogue::gates(Set::A);
    const auto mulo = item(named(a, "Mulo (1)"));
    QVERIFY(std::abs(GeoPoint::distanceKm(mulo->geoEnd1(), mulo->geoEnd2()) - 60) < 0.5);
    QVERIFY(std::abs(GeoPoint::bearing(mulo->geoEnd1(), mulo->geoEnd2()) - 225) < 1);
    QVERIFY(mulo->geoEnd2().lat < mulo->geoEnd1().lat && mulo->geoEnd2().lng < mulo->geoEnd1().lng);
    QCOMPARE(mulo->anchor(), GeoPoint::midpoint(mulo->geoEnd1(), mulo->geoEnd2()));

    const auto zielA = item(named(a, "Biograd Ziel"));
    const auto zielC = item(named(GateCatalogue::gates(Set::C), "Biograd Ziel"));
    QVERIFY(std::abs(GeoPoint::distanceKm(zielA->geoEnd1(), zielA->geoEnd2()) - 0.7) < 0.01);
    QVERIFY(std::abs(GeoPoint::distanceKm(zielC->geoEnd1(), zielC->geoEnd2()) - 0.061) < 0.001);

    const auto dugi = item(named(a, "Dugi Otok North"));
    QCOMPARE(dugi->anchor(), GeoPoint(44.188733, 14.845183));
    QVERIFY(dugi->geoEnd2().lat > dugi->geoEnd1().lat);

    const QList<GateDefinition> d = GateCatalogue::gates(Set::D);
    QCOMPARE(item(named(d, "Zirje"))->geoEnd2(), GeoPoint(43.7216, 15.85));
    QCOMPARE(item(named(d, "Bisevo-Hvar"))->geoEnd2(), GeoPoint(43.165833, 16.438333));
    QCOMPARE(item(named(a, "Bisevo-Vis"))->geoEnd2(), GeoPoint(43.00675, 16.066916));
}
