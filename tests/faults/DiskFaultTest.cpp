#include "tests/faults/DiskFaultTest.h"

#include "chart/Ship.h"
#include "tests/faults/ChartWindowRig.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ReadOnlyGuard.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/StatusNote.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTest>

namespace {
using RaceData::Fix;
constexpr int von = 1712743200;

QList<Fix> fixes(int count)
{
    return RaceData::straight(42.8, 16.0, 0.0002, 0.0003, von + 60, 60, count);
}

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}
} // namespace

void DiskFaultTest::init()
{
    TestEnvironment::reset();
}

void DiskFaultTest::databaseTurningReadOnlyKeepsWhatIsShown()
{
    WindowRig rig;
    rig.clock.pin(von + 7200);
    RaceData::Boat boat{301, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")};
    boat.lastget = fixes(60).last().time;
    RaceData::insertBoat(boat);
    RaceData::insertTrack(301, 125, fixes(60));
    rig.tracking.setPositions(301, fixes(90));
    rig.start(125, 279);
    QVERIFY(rig.settle());
    QCOMPARE(rig.ship(301)->fullTrack().count(), 60);

    LogCapture log;
    {
        // The file becomes read-only while the viewer has it open.
        ReadOnlyGuard guard(rig.db.path());
        if (!guard.isActive())
            QSKIP("this file system cannot make a file read-only for this user");
        rig.window->getData();
        QVERIFY(rig.settle());
        QVERIFY(rig.window->isVisible());
        QCOMPARE(rig.ship(301)->fullTrack().count(), 60);
        QCOMPARE(rig.ship(301)->pointCount(), 60);
        QCOMPARE(rig.ship(301)->lastget(), fixes(60).last().time);
        QVERIFY(rig.ship(301)->scene());
        QVERIFY(log.containsPart(QStringLiteral("TrackingClient::handlePositions, Positionen von Boot 301 nicht gespeichert:")));
        QVERIFY2(rig.window->statusNote()->text().startsWith(
                     QStringLiteral("Positionsdaten von Boot 301 konnten nicht gespeichert werden: ")),
                 qPrintable(rig.window->statusNote()->text()));
    }
    // Nothing of the refused answer is in the file, and lastget still says where to go on.
    QCOMPARE(RaceData::trackRows(301, 125), 60);
    QCOMPARE(RaceData::storedLastget(301), fixes(60).last().time);

    // Writable again: the next fetch asks from the same place and stores each position once.
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(RaceData::trackRows(301, 125), 90);
    QCOMPARE(RaceData::distinctTrackRows(301, 125), 90);
    QCOMPARE(RaceData::storedLastget(301), fixes(90).last().time);
    QCOMPARE(rig.ship(301)->fullTrack().count(), 90);
    const QList<HttpRequest> asked = rig.tracking.positionRequests(301);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.last().query().queryItemValue(QStringLiteral("la")).toInt(), fixes(60).last().time);
}

void DiskFaultTest::mapsFolderThatCannotBeWrittenIsReported()
{
    const QString maps = TestEnvironment::dataFolder() + QStringLiteral("/maps");
    QVERIFY(QDir().mkpath(maps));
    ChartWindowRig rig;
    LogCapture log;
    {
        ReadOnlyGuard guard(maps);
        if (!guard.isActive())
            QSKIP("this file system cannot make a folder read-only for this user");
        rig.start();
        QVERIFY(rig.settle());
        // Shown from memory, and every tile that could not be kept says so.
        const QPoint centre = ChartWindowRig::centreTile;
        QVERIFY(sameImage(rig.chart()->storedTile(centre),
                          TileServerFixture::tileImage(ChartWindowRig::zoom, centre.x(), centre.y())));
        QVERIFY(!QFile::exists(ChartWindowRig::cacheFile()));
        QVERIFY(log.contains(QStringLiteral("Karte::handleNetworkData, Kachel nicht gespeichert: \"%1\"")
                                 .arg(ChartWindowRig::cacheFile())));
        QCOMPARE(log.texts().filter(QStringLiteral("Kachel nicht gespeichert")).size(),
                 rig.tiles.server().requests().size());
    }
    // Writable again: tiles needed again are fetched and kept.
    rig.lookAgain();
    QVERIFY(rig.settle());
    QImageReader reader(ChartWindowRig::cacheFile());
    QCOMPARE(reader.format(), QByteArray("png"));
}

void DiskFaultTest::corruptTileInTheCacheIsReplaced()
{
    // A file of the cache that was cut short, as a full disk leaves it.
    const QString cached = ChartWindowRig::cacheFile();
    QVERIFY(QDir().mkpath(QFileInfo(cached).path()));
    QByteArray png = TileServerFixture::png(TileServerFixture::tileImage(1, 1, 1));
    png.truncate(png.size() / 3);
    {
        QFile file(cached);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(png);
    }
    ChartWindowRig rig;
    LogCapture log;
    rig.start();
    QVERIFY(rig.settle());
    const QPoint centre = ChartWindowRig::centreTile;
    QVERIFY(log.contains(QStringLiteral("Karte::download(), Kachel im Cache unlesbar: \"%1\"").arg(cached)));
    // Fetched from the server instead, shown, and written over the damaged file.
    QCOMPARE(rig.tiles.requestsFor(ChartWindowRig::zoom, centre.x(), centre.y()).size(), 1);
    const QImage expected = TileServerFixture::tileImage(ChartWindowRig::zoom, centre.x(), centre.y());
    QVERIFY(sameImage(rig.chart()->storedTile(centre), expected));
    QImageReader reader(cached);
    QVERIFY(sameImage(reader.read(), expected));
}

void DiskFaultTest::positionRowsNoAnswerCouldGiveAreLeftOut()
{
    // Rows another program (or an older version) wrote: the newest of them far outside the
    // world, for a boat that is followed, so the chart would centre on it.
    WindowRig rig;
    rig.clock.pin(von + 7200);
    RaceData::Boat boat{301, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")};
    boat.follow = true;
    boat.lastget = von + 600;
    RaceData::insertBoat(boat);
    const QString insert = QStringLiteral("INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) VALUES (301, 125, %1, %2, %3)");
    QVERIFY(SqlHelpers::exec({
        insert.arg(QStringLiteral("43.1"), QStringLiteral("16.1")).arg(von + 60),
        insert.arg(QStringLiteral("43.2"), QStringLiteral("16.2")).arg(von + 120),
        insert.arg(QStringLiteral("1e300"), QStringLiteral("16.0")).arg(von + 180),
        insert.arg(QStringLiteral("NULL"), QStringLiteral("16.0")).arg(von + 240),
        insert.arg(QStringLiteral("'Nord'"), QStringLiteral("16.0")).arg(von + 300),
        insert.arg(QStringLiteral("43.0"), QStringLiteral("16.0")).arg(0),
        insert.arg(QStringLiteral("43.0"), QStringLiteral("-15000000")).arg(von + 600),
    }));
    LogCapture log;
    rig.start(125, 279);
    QVERIFY(rig.settle());

    const Ship *ship = rig.ship(301);
    QVERIFY(ship && ship->ready());
    QCOMPARE(ship->fullTrack().count(), 2);
    QCOMPARE(ship->pointCount(), 2);
    QCOMPARE(ship->fullTrack().last().time, von + 120);
    QVERIFY(log.containsPart(QStringLiteral("Regatta::loadShipPosDB, ungueltige Positionen uebergangen, Boot 301 : 5")));
    // The followed boat took the chart to its newest real position, inside the world.
    const GeoPoint centre = rig.window->chart()->center();
    QVERIFY2(std::abs(centre.lat - 43.2) < 1e-9 && std::abs(centre.lng - 16.2) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(centre.lat).arg(centre.lng)));
    const QRect range = rig.window->chart()->grid().tileRange();
    QVERIFY(rig.window->chart()->grid().inWorld(range.topLeft()));
    QVERIFY(rig.window->chart()->grid().inWorld(range.bottomRight()));
    // The rows themselves are left as they are; the program does not delete what it did not write.
    QCOMPARE(RaceData::trackRows(301, 125), 7);
}
