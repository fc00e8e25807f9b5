#include "tests/window/ReplayTest.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/ReplayTimeline.h"

#include <QAbstractButton>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {
constexpr int von = 1712743200;

bool near(const GeoPoint &a, const GeoPoint &b, double tolerance)
{
    return std::abs(a.lat - b.lat) <= tolerance && std::abs(a.lng - b.lng) <= tolerance;
}

// Works in another folder until the object goes, however the test ends: the later tests
// of this executable find the assets relative to the folder they started in.
class WorkingFolder
{
public:
    explicit WorkingFolder(const QString &path)
        : m_home(QDir::currentPath())
        , m_entered(QDir::setCurrent(path))
    {
    }
    ~WorkingFolder() { QDir::setCurrent(m_home); }
    bool entered() const { return m_entered; }

    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

private:
    QString m_home;
    bool m_entered;
};
} // namespace

void ReplayTest::init()
{
    TestEnvironment::reset();
}

void ReplayTest::sliderMovesEveryBoatToItsPosition()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    // Half a minute after the tenth fix of the first boat.
    const int t = von + 9 * 60 + 30;
    rig.window->setTimeValue(t);
    QCOMPARE(rig.window->timeLabel()->text(),
             QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    const Ship *bora = rig.ship(101);
    QCOMPARE(bora->currentTime(), t);
    // Halfway along the leg from fix 9 to fix 10 of a straight, steady run.
    QVERIFY(near(bora->currentPoint().position, GeoPoint(42.70 + 0.0005 * 9.5, 16.10 + 0.0008 * 9.5), 1e-6));
    QVERIFY(bora->speed() > 0);
    for (const Ship *s : rig.regatta->ships()) {
        QCOMPARE(s->currentTime(), t);
        QVERIFY(s->showSprite());
        QVERIFY(s->showTrack());
        QCOMPARE(s->pixelPos(), rig.window->chart()->getPixelPosForCoordinates(s->currentPoint().position.lng,
                                                                                s->currentPoint().position.lat));
    }
}

void ReplayTest::followedBoatStaysCentredWhileAnimating()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    Ship *maestral = rig.ship(201);
    rig.window->checkship(rig.item(201));
    QVERIFY(maestral->follow());
    rig.window->setTimeValue(rig.window->slider()->minimum());
    QList<bool> centred;
    QObject::connect(rig.window->slider(), &QSlider::valueChanged, rig.window.get(),
                     [&] { centred << (rig.window->chart()->center() == maestral->currentPoint().position); });
    rig.window->animOnOff();
    QVERIFY(rig.window->animating());
    QCOMPARE(rig.window->animationTimer()->interval(), 30);
    QCOMPARE(rig.window->playButton()->toolTip(), QStringLiteral("Animation beenden"));
    QVERIFY(QTest::qWaitFor([&] { return centred.size() >= 5; }, 3000));
    rig.window->animOnOff();
    QVERIFY(!rig.window->animating());
    QCOMPARE(rig.window->playButton()->toolTip(), QStringLiteral("Animation starten"));
    QVERIFY(!centred.contains(false));
    // Each tick moves the replay by ten seconds.
    QCOMPARE((rig.window->slider()->value() - rig.window->slider()->minimum()) % 10, 0);
}

void ReplayTest::playingFromTheEndStopsAtOnce()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QSlider *slider = rig.window->slider();
    QCOMPARE(slider->value(), slider->maximum());
    rig.window->animOnOff();
    QVERIFY(rig.window->animating());
    QVERIFY(QTest::qWaitFor([&] { return !rig.window->animating(); }, 1000));
    QCOMPARE(slider->value(), slider->maximum());
    QVERIFY(!rig.window->animationTimer()->isActive());
    QCOMPARE(rig.window->playButton()->toolTip(), QStringLiteral("Animation starten"));
}

void ReplayTest::pageKeysStepAndStopAtTheEnds()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QSlider *slider = rig.window->slider();
    slider->setValue(slider->minimum() + 1);
    rig.window->animOnOff();
    QTest::keyClick(rig.window->chart(), Qt::Key_PageDown);
    QCOMPARE(slider->value(), slider->minimum());
    QVERIFY(!rig.window->animating());
    QTest::keyClick(rig.window->chart(), Qt::Key_PageUp);
    QCOMPARE(slider->value(), slider->minimum() + 1);
    slider->setValue(slider->maximum() - 1);
    QTest::keyClick(rig.window->chart(), Qt::Key_PageUp);
    QCOMPARE(slider->value(), slider->maximum());
}

void ReplayTest::timeBeyondTheEndMovesNoBoat()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    const int before = rig.ship(101)->currentTime();
    const int late = rig.window->slider()->maximum() + 500;
    rig.window->setUhrzeit(late);
    QCOMPARE(rig.window->timeLabel()->text(),
             QDateTime::fromSecsSinceEpoch(late).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    for (const Ship *s : rig.regatta->ships())
        QCOMPARE(s->currentTime(), before);
}

void ReplayTest::zeroShowsTheCurrentTime()
{
    WindowRig rig;
    rig.clock.pin(1760000000);
    rig.window->setTimeRange(0, 0);
    rig.window->setUhrzeit(0);
    QCOMPARE(rig.window->timeLabel()->text(),
             QDateTime::fromSecsSinceEpoch(1760000000).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    rig.window->setTimeRange(100, 2000);
    rig.window->setTimeValue(1500);
    rig.window->setUhrzeit(0);
    QCOMPARE(rig.window->timeLabel()->text(),
             QDateTime::fromSecsSinceEpoch(1500).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

void ReplayTest::captureWritesAPicturePerStep()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    QTemporaryDir folder;
    const int t = von + 1800;
    {
        const WorkingFolder inFolder(folder.path());
        QVERIFY(inFolder.entered());
        rig.window->captureOnOff();
        QVERIFY(rig.window->capturing());
        rig.window->setTimeValue(t);
        rig.window->advanceFrame(10);
        rig.window->captureOnOff();
        rig.window->advanceFrame(10);
    }

    const QString first = folder.filePath(QStringLiteral("movie/scene.%1.jpg").arg(t));
    QImageReader reader(first);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), rig.window->chart()->size());
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("movie/scene.%1.jpg").arg(t + 10))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("movie/scene.%1.jpg").arg(t + 20))));
}

void ReplayTest::raceWithoutPositionsStopsOnTheFirstTick()
{
    WindowRig rig;
    rig.clock.pin(1760000000);
    rig.start();
    QSlider *slider = rig.window->slider();
    QCOMPARE(slider->minimum(), 1760000000);
    QCOMPARE(slider->maximum(), 1760000000);
    rig.window->animOnOff();
    QVERIFY(rig.window->animating());
    QVERIFY(QTest::qWaitFor([&] { return !rig.window->animating(); }, 1000));

    // With a maximum of zero the animation does not start at all.
    rig.window->setTimeRange(0, 0);
    rig.window->animOnOff();
    QVERIFY(!rig.window->animating());
}
