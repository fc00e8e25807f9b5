#include "tests/chart/GateItemTest.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "tests/chart/RecordingOwner.h"

#include <QPainter>
#include <QTest>

#include <cmath>

namespace {
QImage paintOnWhite(GateItem &gate)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    gate.paint(&painter, nullptr, nullptr);
    return image;
}

QImage paintOnWhite(const QPoint &a, const QPoint &b)
{
    GateItem gate(43, 16, 43, 16.1, 0, 0, QStringLiteral("g"), true);
    gate.setPixelEnds(a, b);
    return paintOnWhite(gate);
}

bool whitish(const QColor &c)
{
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}

bool circleRed(const QColor &c)
{
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}

bool lineColoured(const QColor &c)
{
    return std::abs(c.red() - 250) <= 6 && std::abs(c.green() - 100) <= 6 && std::abs(c.blue() - 100) <= 6;
}
} // namespace

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
    QCOMPARE(gate.pixelEnd1(), QPoint(100, 100));
    QCOMPARE(gate.pixelEnd2(), QPoint(50, 80));

    // The rectangle holds everything the gate paints, whichever end lies left or above, and
    // a level gate has a height: a partial repaint must find both circles and the line.
    const QList<QPair<QPoint, QPoint>> cases = {
        {QPoint(150, 70), QPoint(40, 30)}, {QPoint(30, 50), QPoint(170, 50)}, {QPoint(60, 60), QPoint(60, 60)}};
    for (const auto &[end1, end2] : cases) {
        gate.setPixelEnds(end1, end2);
        const QImage image = paintOnWhite(gate);
        const QRectF bounds = gate.boundingRect();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (whitish(image.pixelColor(x, y)))
                    continue;
                ++painted;
                QVERIFY2(bounds.contains(QPointF(x + 0.5, y + 0.5)),
                         qPrintable(QStringLiteral("pixel %1, %2 painted outside the item").arg(x).arg(y)));
            }
        }
        QVERIFY(painted > 20);
    }
}

void GateItemTest::paintsCirclesAndLine()
{
    const QImage line = paintOnWhite(QPoint(50, 50), QPoint(150, 50));
    QVERIFY(circleRed(line.pixelColor(45, 50)));
    QVERIFY(circleRed(line.pixelColor(155, 50)));
    QVERIFY(circleRed(line.pixelColor(50, 45)));
    QVERIFY(lineColoured(line.pixelColor(100, 50)));
    QVERIFY(whitish(line.pixelColor(100, 55)));
    QVERIFY(whitish(line.pixelColor(100, 40)));
    // Inside a circle nothing but the line is drawn.
    QVERIFY(whitish(line.pixelColor(48, 47)));

    // Coinciding ends: the circle is still drawn.
    const QImage dot = paintOnWhite(QPoint(60, 60), QPoint(60, 60));
    QVERIFY(circleRed(dot.pixelColor(55, 60)));
    QVERIFY(circleRed(dot.pixelColor(60, 55)));
}

void GateItemTest::chartRefreshReprojectsGates()
{
    RecordingOwner owner;
    Scheme scene;
    Karte chart(&scene, &owner, &owner.tiles);
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
