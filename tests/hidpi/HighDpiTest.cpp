#include "tests/hidpi/HighDpiTest.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/SpriteFrames.h"
#include "chart/StaleTag.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"

#include <QTest>

#include <cmath>

namespace {
// The box around the pixels with any alpha.
QRect opaqueBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
} // namespace

void HighDpiTest::init()
{
    TestEnvironment::reset();
}

void HighDpiTest::boatsAreDrawnAtTheScreensPixelRatio()
{
    WindowRig rig;
    storeFleet();
    rig.start();
    QCOMPARE(rig.window->chart()->devicePixelRatioF(), 2.0);
    for (const Ship *ship : rig.regatta->ships()) {
        const QImage image = ship->boatImage();
        // Two device pixels per view pixel, the same 32 view pixels on the chart.
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(image.deviceIndependentSize(), QSizeF(32, 32));
        // The silhouette is cut out of the boat's colour: clear corners, a solid hull.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QVERIFY(qAlpha(image.pixel(32, 40)) > 128);
    }
}

void HighDpiTest::framesAreTurnedToTheCourse()
{
    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    QVERIFY(!QImage(QLatin1String(SpriteFrames::largeSpritePath)).isNull());
    const QImage north = SpriteFrames::frame(strip, 0, 2.0);
    const QImage east = SpriteFrames::frame(strip, 90, 2.0);
    QCOMPARE(north.size(), QSize(64, 64));
    QCOMPARE(north.devicePixelRatio(), 2.0);
    const QRect n = opaqueBox(north);
    const QRect e = opaqueBox(east);
    // Pointing north the hull is tall and narrow; on course 90 it lies across.
    QVERIFY(n.height() > 2 * n.width());
    QVERIFY(e.width() > 2 * e.height());
    // A ratio of 1.5 gets 48 device pixels.
    QCOMPARE(SpriteFrames::frame(strip, 45, 1.5).size(), QSize(48, 48));
    QCOMPARE(SpriteFrames::pixelSide(1.0), 32);

    // The age under a faded boat is drawn at the same resolution, in the same view size.
    const QString age = QStringLiteral("vor 2 h");
    const QImage tag = StaleTag::image(age, 2.0);
    const QRectF room = StaleTag::rectAt(age, QPointF(100, 100));
    QCOMPARE(tag.devicePixelRatio(), 2.0);
    QVERIFY(std::abs(tag.deviceIndependentSize().width() - room.width()) <= 0.5);
    QVERIFY(std::abs(tag.deviceIndependentSize().height() - room.height()) <= 0.5);
    QCOMPARE(StaleTag::image(age, 1.0).size(), QSize(int(std::ceil(room.width())), int(std::ceil(room.height()))));
}
