#include "tests/chart/GateItemTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "tests/chart/RecordingOwner.h"

#include <QPainter>
#include <QTest>

#include <cmath>

void GateItemTest::derivesSecondEndAndAnchor()
{
    const GateItem computed(43, 16, 0, 0, 90, 1, QStringLiteral("Ost"), false);
    QVERIFY(std::abs(computed.geoEnd2().lat - 43) < 1e-6);
    QCOMPARE(std::round((computed.geoEnd2().lng - 16) * 10000) / 10000, 0.0123);
    QCOMPARE(computed.anchor(), GeoPoint(43, 16));
    QCOMPARE(computed.name(), QStringLiteral("Ost"));

    const GateItem given(43, 16, 43, 16.1, 45, 3, QStringLiteral("Linie"), true);
    QCOMPARE(given.geoEnd2(), GeoPoint(43, 16.1));
    QCOMPARE(given.gateBearing(), 45.0);
    QCOMPARE(given.gateLength(), 3.0);
    QVERIFY(std::abs(given.anchor().lng - 16.05) < 1e-9);
    QVERIFY(given.anchor().lat > 43 && given.anchor().lat < 43.0001);

    // Only both coordinates zero mean "derive".
    const GateItem halfZero(43, 16, 0, 16.2, 90, 1, QStringLiteral("x"), false);
    QCOMPARE(halfZero.geoEnd2(), GeoPoint(0, 16.2));
}

void GateItemTest::colourAndBoundingRectangle()
{
    GateItem gate(43, 16, 43, 16.1, 0, 0, QStringLiteral("g"), true);
    QCOMPARE(gate.lineColour(), 0xFFFA6464u);
    gate.setLineColour(1, 2, 3);
    QCOMPARE(gate.lineColour(), 0xFF010203u);
    gate.setPixelEnds(QPoint(100, 100), QPoint(50, 80));
    QCOMPARE(gate.boundingRect(), QRectF(100, 100, -50, -20));
    QCOMPARE(gate.pixelEnd1(), QPoint(100, 100));
    QCOMPARE(gate.pixelEnd2(), QPoint(50, 80));
}

void GateItemTest::paintsCirclesAndLine()
{
    auto render = [](const QPoint &a, const QPoint &b) {
        GateItem gate(43, 16, 43, 16.1, 0, 0, QStringLiteral("g"), true);
        gate.setPixelEnds(a, b);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        gate.paint(&painter, nullptr, nullptr);
        return image;
    };
    const QImage line = render(QPoint(50, 50), QPoint(150, 50));
    QCOMPARE(line.pixelColor(45, 50), QColor(255, 0, 0));
    QCOMPARE(line.pixelColor(155, 50), QColor(255, 0, 0));
    QCOMPARE(line.pixelColor(50, 45), QColor(255, 0, 0));
    QCOMPARE(line.pixelColor(100, 50), QColor(250, 100, 100));
    QCOMPARE(line.pixelColor(100, 55), QColor(Qt::white));
    QCOMPARE(line.pixelColor(100, 40), QColor(Qt::white));

    // Coinciding ends: the circle is still drawn.
    const QImage dot = render(QPoint(60, 60), QPoint(60, 60));
    QCOMPARE(dot.pixelColor(55, 60), QColor(255, 0, 0));
    QCOMPARE(dot.pixelColor(60, 55), QColor(255, 0, 0));
}

void GateItemTest::chartRefreshReprojectsGates()
{
    RecordingOwner owner;
    Scheme scene;
    Karte chart(&scene, &owner);
    chart.resize(400, 300);
    GateItem gate(43.00675, 16.066916, 42.986766, 16.0203, 0, 0, QStringLiteral("Bisevo-Vis"), true);
    chart.setGates({&gate});
    chart.refresh();
    QCOMPARE(gate.pixelEnd1(), chart.getPixelPosForCoordinates(16.066916, 43.00675));
    QCOMPARE(gate.pixelEnd2(), chart.getPixelPosForCoordinates(16.0203, 42.986766));
    const QPoint before = gate.pixelEnd1();
    chart.panBy(QPoint(10, 20));
    QCOMPARE(gate.pixelEnd1(), before + QPoint(10, 20));
}
