#include "tests/chart/TileCacheTest.h"

#include "tests/chart/ChartRig.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTest>

namespace {
QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void writeCachedTile(int z, int x, int y, const QColor &colour)
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(cacheTile(z, x, y, image));
}
} // namespace

void TileCacheTest::init()
{
    TestEnvironment::reset();
}

void TileCacheTest::cachedTileIsReadAndNeverRequested()
{
    writeCachedTile(10, 557, 376, Qt::red);
    LogCapture log;
    ChartRig rig;
    rig.start();
    QVERIFY(rig.settle());

    QVERIFY(rig.tiles.requestsFor(10, 557, 376).isEmpty());
    QCOMPARE(rig.chart->storedTile(QPoint(557, 376)).pixelColor(10, 10), QColor(Qt::red));
    QVERIFY(log.contains(QStringLiteral("Karte::download(), gefunden,  ") + quoted(cachedTilePath(10, 557, 376))));
    // Every other tile of the searched area came from the server.
    QCOMPARE(rig.tiles.server().requests().size(), rig.searchedTiles().size() - 1);
}

void TileCacheTest::missingTilesAreFetchedOnceSavedAndFoundAgain()
{
    LogCapture log;
    ChartRig rig;
    rig.start();
    QVERIFY(rig.settle());

    const QList<QPoint> searched = rig.searchedTiles();
    QCOMPARE(searched.size(), 9);
    QCOMPARE(rig.tiles.server().requests().size(), 9);
    QCOMPARE(rig.owner.ledOn, 9);
    QCOMPARE(rig.owner.ledOff, 9);
    for (const QPoint &t : searched) {
        const QList<HttpRequest> requests = rig.tiles.requestsFor(10, t.x(), t.y());
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().header("User-Agent"), QByteArray("Brisavela_2.24.0"));
        QVERIFY(sameImage(rig.chart->storedTile(t), TileServerFixture::tileImage(10, t.x(), t.y())));

        const QString path = cachedTilePath(10, t.x(), t.y());
        QVERIFY(path.startsWith(TestEnvironment::dataFolder() + QStringLiteral("/maps/10/")));
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("png"));
        QVERIFY(sameImage(reader.read(), TileServerFixture::tileImage(10, t.x(), t.y())));
        QVERIFY(log.contains(QStringLiteral("Karte::handleNetworkData, downloaded , saving:  ") + quoted(path)));
    }
    QVERIFY(log.contains(QStringLiteral("Karte::download(), nicht gefunden, downloading  ")
                         + quoted(rig.tiles.baseUrl().toString() + QStringLiteral("/10/557/376.png"))));

    // The tile the chart centres on is drawn where the layout puts it.
    const QImage shot = viewPixels(*rig.chart);
    const QRect box = rig.chart->grid().tileScreenRect(QPoint(557, 376));
    QCOMPARE(shot.pixelColor(box.left() + 60, box.top() + 60),
             TileServerFixture::tileImage(10, 557, 376).pixelColor(60, 60));

    // A fresh chart finds everything on disk.
    rig.tiles.server().clearRequests();
    rig.rebuild(10, GeoPoint(42.986766, 15.8203125));
    QVERIFY(rig.settle());
    QVERIFY(rig.tiles.server().requests().isEmpty());
    QVERIFY(sameImage(rig.chart->storedTile(QPoint(557, 376)), TileServerFixture::tileImage(10, 557, 376)));
}

void TileCacheTest::withDownloadsOffPlaceholdersStayUntilPurged()
{
    ChartRig rig(QSize(256, 256), false);
    rig.start();
    QVERIFY(rig.settle());
    QVERIFY(rig.tiles.server().requests().isEmpty());
    for (const QPoint &t : rig.searchedTiles())
        QVERIFY(rig.chart->isPlaceholder(t));
    QCOMPARE(rig.owner.ledOn, 0);

    // Now on disk, but the placeholder stays while the tile stays within the margin.
    writeCachedTile(10, 557, 376, Qt::blue);
    rig.chart->panBy(QPoint(256, 0));
    rig.chart->panBy(QPoint(-256, 0));
    QVERIFY(rig.settle());
    QVERIFY(rig.chart->isPlaceholder(QPoint(557, 376)));

    // Far away it is purged; coming back, the disk is asked again.
    rig.chart->panBy(QPoint(256 * 8, 0));
    QVERIFY(rig.settle());
    QVERIFY(!rig.chart->hasTile(QPoint(557, 376)));
    rig.chart->panBy(QPoint(-256 * 8, 0));
    QVERIFY(rig.settle());
    QCOMPARE(rig.chart->storedTile(QPoint(557, 376)).pixelColor(3, 3), QColor(Qt::blue));
    QVERIFY(rig.tiles.server().requests().isEmpty());
}

void TileCacheTest::failedRepliesLeavePlaceholders_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("diagnostic");
    QTest::newRow("404") << int(TileServerFixture::Mode::NotFound) << QStringLiteral("Karte::handleNetworkData,  \"");
    QTest::newRow("500") << int(TileServerFixture::Mode::ServerError)
                         << QStringLiteral("Karte::handleNetworkData,  \"");
    QTest::newRow("garbage") << int(TileServerFixture::Mode::Garbage) << QStringLiteral(".................ZOCK!");
    QTest::newRow("html page") << int(TileServerFixture::Mode::Html) << QStringLiteral(".................ZOCK!");
    QTest::newRow("empty body") << int(TileServerFixture::Mode::Empty) << QStringLiteral(".................ZACK!");
}

void TileCacheTest::failedRepliesLeavePlaceholders()
{
    QFETCH(int, mode);
    QFETCH(QString, diagnostic);
    LogCapture log;
    ChartRig rig;
    rig.tiles.setModeFor(TileServerFixture::path(10, 557, 376), TileServerFixture::Mode(mode));
    rig.start();
    QVERIFY(rig.settle());

    QVERIFY(rig.chart->isPlaceholder(QPoint(557, 376)));
    QVERIFY(!QFile::exists(cachedTilePath(10, 557, 376)));
    QVERIFY(log.containsPart(diagnostic));
    // The neighbours are unaffected, and the failed tile is not asked for again.
    QVERIFY(!rig.chart->isPlaceholder(QPoint(556, 376)));
    rig.chart->refresh();
    QVERIFY(rig.settle());
    QCOMPARE(rig.tiles.requestsFor(10, 557, 376).size(), 1);
    QCOMPARE(rig.owner.ledOn, rig.owner.ledOff);
}

void TileCacheTest::stalledRequestEndsByTimeout()
{
    // Requests go out from the event loop, so the rig can still be set up here.
    ChartRig rig;
    rig.tiles.setMode(TileServerFixture::Mode::Stall);
    rig.owner.tiles.setTimeout(300);
    rig.start();
    QVERIFY(rig.settle(10000));
    for (const QPoint &t : rig.searchedTiles())
        QVERIFY(rig.chart->isPlaceholder(t));
    QCOMPARE(rig.owner.ledOn, rig.owner.ledOff);

    // Once the server answers again, tiles that were never asked for still load.
    rig.tiles.setMode(TileServerFixture::Mode::Tiles);
    rig.chart->panBy(QPoint(-256 * 3, 0));
    QVERIFY(rig.settle());
    const QRect r = rig.chart->grid().tileRange();
    QVERIFY(!rig.chart->isPlaceholder(r.topLeft()));
}

void TileCacheTest::redirectedTileIsCachedUnderItsOwnIndex()
{
    ChartRig rig;
    rig.tiles.setMode(TileServerFixture::Mode::Redirect);
    rig.start();
    QVERIFY(rig.settle());
    QVERIFY(rig.tiles.server().requestsTo(QStringLiteral("/moved/10/557/376.png")).size() == 1);
    QVERIFY(QFile::exists(cachedTilePath(10, 557, 376)));
    QVERIFY(!QDir(TestEnvironment::dataFolder() + QStringLiteral("/maps/moved")).exists());
    QVERIFY(sameImage(rig.chart->storedTile(QPoint(557, 376)), TileServerFixture::tileImage(10, 557, 376)));
}

void TileCacheTest::replyForEarlierZoomFillsCacheButNotTheChart()
{
    // Near the north-west corner of the world the tile indexes of zoom 6 and 7 overlap.
    TileGrid probe;
    probe.setZoom(6);
    const GeoPoint centre(probe.tileYToLatitude(1.5), probe.tileXToLongitude(1.5));
    ChartRig rig(QSize(512, 512), true, 6, centre);
    rig.tiles.setDelayForZoom(6, 700);
    rig.start();
    // Columns 1 to 3 are fetched. In column 0 the first missing tile is (0, 0), which
    // reads as "nothing missing" and ends the pass.
    QVERIFY(QTest::qWaitFor([&] { return rig.owner.ledOn == 12; }, 3000));
    QVERIFY(!rig.chart->hasTile(QPoint(0, 1)));

    rig.chart->zoomBy(1);
    QVERIFY(rig.settle());
    QCOMPARE(rig.chart->grid().tileRange(), QRect(QPoint(2, 2), QPoint(3, 3)));
    for (const QPoint &t : rig.searchedTiles())
        QVERIFY(sameImage(rig.chart->storedTile(t), TileServerFixture::tileImage(7, t.x(), t.y())));
    QVERIFY(QFile::exists(cachedTilePath(6, 2, 2)));
    QVERIFY(QFile::exists(cachedTilePath(6, 1, 3)));
}

void TileCacheTest::edgesOfTheWorldFollowTheSearchOrder_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<QString>("loads");
    QTest::newRow("row above the world") << 84.9 << 16.0 << QStringLiteral("nothing");
    QTest::newRow("column past the east edge") << 43.0 << 179.9 << QStringLiteral("nothing");
    QTest::newRow("rows past the south edge") << -84.9 << 16.0 << QStringLiteral("last column");
    QTest::newRow("column past the west edge") << 43.0 << -179.9 << QStringLiteral("all in range");
}

void TileCacheTest::edgesOfTheWorldFollowTheSearchOrder()
{
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(QString, loads);
    ChartRig rig(QSize(512, 512), false, 6, GeoPoint(lat, lng));
    rig.start();
    QVERIFY(rig.settle());

    const QRect r = rig.chart->grid().tileRange();
    QList<QPoint> expected;
    for (const QPoint &t : rig.searchedTiles()) {
        const bool inWorld = rig.chart->grid().inWorld(t);
        if ((loads == QStringLiteral("last column") && inWorld && t.x() == r.right() + 1)
            || (loads == QStringLiteral("all in range") && inWorld))
            expected << t;
    }
    if (loads != QStringLiteral("nothing"))
        QVERIFY(!expected.isEmpty());
    QCOMPARE(rig.chart->storedTileCount(), expected.size());
    for (const QPoint &t : expected)
        QVERIFY(rig.chart->isPlaceholder(t));
    QVERIFY(rig.chart->pendingUrl().isEmpty());
}
