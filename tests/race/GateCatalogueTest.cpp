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

void GateCatalogueTest::everyGateHasItsValues_data()
{
    // The catalogue as published for the races: every row of every set, in order. A
    // second end of 0, 0 is computed from course and length.
    struct Row
    {
        const char *name;
        double lat1, lng1, lat2, lng2, course, length;
        bool mid;
    };
    const QList<Row> b = {
        {"Dugi Otok North", 44.188733, 14.845183, 0, 0, 0, 5, false},
        {"Mulo (1)", 43.51445, 15.918583, 0, 0, 225, 60, true},
        {"Bisevo-Vis", 42.986766, 16.0203, 43.00675, 16.066916, 0, 0, true},
        {"Palagruza", 42.391933, 16.255316, 0, 0, 180, 10, false},
        {"Mljet", 42.686183, 17.74815, 0, 0, 90, 17, false},
        {"Korcula", 42.98345, 16.6069, 0, 0, 225, 25, true},
        {"Hvar", 43.072933, 16.254966, 43.1651, 16.4369, 0, 0, true},
        {"Mulo (2)", 43.51445, 15.918583, 0, 0, 45, 4, true},
        {"Prisnjak", 43.825583, 15.558533, 0, 0, 240, 14, true},
        {"Biograd Ziel", 43.9375, 15.439133, 0, 0, 240, 0.7, true},
    };
    const QList<Row> a = QList<Row>{{"Biograd Start", 43.98, 15.366, 0, 0, 240, 0.6, true}} + b;
    const QList<Row> c = {
        {"Golac", 44.188733, 14.845183, 0, 0, 0, 5, false},
        {"Drvenik", 43.321, 15.8305, 43.445667, 16.054167, 0, 0, true},
        {"Bisevo-Vis", 42.986766, 16.0203, 43.00675, 16.066916, 0, 0, true},
        {"Gate Palagruza", 42.578333, 16.336667, 42.548333, 16.473333, 0, 0, true},
        {"Palagruza", 42.391933, 16.255316, 0, 0, 180, 10, false},
        {"Gate Palagruza", 42.578333, 16.336667, 42.548333, 16.473333, 0, 0, true},
        {"Mljet", 42.686183, 17.74815, 0, 0, 90, 17, false},
        {"Lastovo", 42.783333, 16.99, 42.921667, 17.026667, 0, 0, true},
        {"Vis - Hvar", 43.072933, 16.254966, 43.1651, 16.4369, 0, 0, true},
        {"Drvenik", 43.321, 15.8305, 43.445667, 16.054167, 0, 0, true},
        {"Prisnjak", 43.825583, 15.558533, 0, 0, 240, 14, true},
        {"Biograd Ziel", 43.9375, 15.439133, 0, 0, 240, 0.061, true},
    };
    const QList<Row> d = {
        {"Karantunic", 44.0078, 15.239, 43.9505, 15.1517, 0, 0, true},
        {"Zizanj", 43.87566, 15.425, 43.8, 15.425, 0, 0, true},
        {"Zirje", 43.5951, 15.172, 43.7216, 15.85, 0, 5, true},
        {"Bisevo-Hvar", 42.9883, 16.0216, 43.165833, 16.438333, 43.17, 16.4416, true},
        {"Palagruza", 42.391933, 16.255316, 0, 0, 180, 10, false},
        {"Mljet", 42.686183, 17.74815, 0, 0, 90, 17, false},
        {"Golac", 44.188733, 14.845183, 0, 0, 0, 5, false},
        {"Biograd Ziel", 43.9375, 15.439133, 0, 0, 240, 0.061, true},
    };
    const double route[9][2] = {
        {42.7674573, 16.0979272}, {42.7706917, 16.1078664}, {42.583976738, 16.177739717},
        {42.5779437, 16.1537254}, {42.5641198, 16.116647},  {42.5481013, 16.085497},
        {42.5298597, 16.0588894}, {42.5104008, 16.0370185}, {42.4965202, 16.0244896},
    };
    QList<Row> e;
    for (int k = 0; k < 8; ++k)
        e.append({"Rtg. Palagruza", route[k][0], route[k][1], route[k + 1][0], route[k + 1][1], 0, 0, true});

    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<bool>("mid");
    const QList<QPair<Set, QList<Row>>> sets = {{Set::A, a}, {Set::B, b}, {Set::C, c}, {Set::D, d}, {Set::E, e}};
    const char *letters = "ABCDE";
    for (int s = 0; s < sets.size(); ++s) {
        const QList<Row> &rows = sets[s].second;
        for (int i = 0; i < rows.size(); ++i) {
            const Row &r = rows[i];
            QTest::addRow("%c%d %s", letters[s], i + 1, r.name)
                << sets[s].first << int(rows.size()) << i << QString::fromUtf8(r.name)
                << QList<double>{r.lat1, r.lng1, r.lat2, r.lng2, r.course, r.length} << r.mid;
        }
    }
}

void GateCatalogueTest::everyGateHasItsValues()
{
    QFETCH(Set, set);
    QFETCH(int, size);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QList<double>, values);
    QFETCH(bool, mid);
    const QList<GateDefinition> gates = GateCatalogue::gates(set);
    QCOMPARE(gates.size(), size);
    const GateDefinition &g = gates.at(index);
    QCOMPARE(g.name, name);
    // Exact decimal values, stored as reals: no tolerance.
    QCOMPARE((QList<double>{g.lat1, g.lng1, g.lat2, g.lng2, g.bearing, g.length}), values);
    QCOMPARE(g.midFlag, mid);
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
