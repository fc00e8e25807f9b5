#include "tests/demo/ChartTilesTest.h"

#include "tests/demo/DemoWorld.h"
#include "tests/demo/HttpGet.h"
#include "tests/support/TestEnvironment.h"
#include "tools/coastline/ChartTileRenderer.h"
#include "tools/demoserver/DemoServer.h"
#include "tools/demoserver/TileService.h"

#include <QFile>
#include <QTest>

#include <cmath>

namespace {
// Land is drawn in warm colours, water in blue ones.
bool isLand(QRgb c)
{
    return qRed(c) > qBlue(c);
}

QPoint tileOf(int zoom, double lat, double lng)
{
    const double n = std::pow(2.0, zoom);
    const double phi = lat * 3.141592653589793 / 180.0;
    return {int((lng + 180.0) / 360.0 * n),
            int((1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / 3.141592653589793) / 2.0 * n)};
}

int landPixels(const QImage &image)
{
    int land = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            land += isLand(image.pixel(x, y));
    }
    return land;
}
} // namespace

void ChartTilesTest::damagedCoastlineFilesAreRefused()
{
    QFile whole(Coastline::adriaticPath());
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("coast"));
    for (const QByteArray &damaged : {bytes.left(bytes.size() / 2), bytes.left(10), QByteArray("BCST"),
                                      bytes + QByteArray("x"), QByteArray("XXXX") + bytes.mid(4)}) {
        QFile file(folder + QStringLiteral("/damaged.coast"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();
        Coastline c;
        QVERIFY(!c.load(file.fileName()));
        QVERIFY(c.isEmpty());
    }
    QVERIFY(!Coastline().load(folder + QStringLiteral("/missing.coast")));
    const Coastline &c = DemoWorld::coastline();
    QVERIFY(c.polygons().size() > 1000);
    // Only the cut along the box is no shore.
    const QRect box = c.box();
    QVERIFY(c.isBoxEdge(box.topLeft(), QPoint(box.left(), box.top() + 500)));
    QVERIFY(!c.isBoxEdge(QPoint(box.left() + 1, box.top() + 1), QPoint(box.left() + 1, box.top() + 500)));
}

void ChartTilesTest::tilesShowLandWhereLandIs()
{
    const ChartTileRenderer renderer(DemoWorld::coastline());
    // The middle of Vis, open sea west of it, and the Atlantic, outside the data.
    const QPoint vis = tileOf(12, 43.045, 16.155);
    const QImage island = renderer.render(12, vis.x(), vis.y());
    QCOMPARE(island.size(), QSize(256, 256));
    QVERIFY(landPixels(island) > 200);
    QVERIFY(landPixels(island) < 64 * 64);
    const QPoint open = tileOf(12, 42.7, 15.7);
    QCOMPARE(landPixels(renderer.render(12, open.x(), open.y())), 0);
    const QPoint atlantic = tileOf(8, 45, -20);
    QCOMPARE(landPixels(renderer.render(8, atlantic.x(), atlantic.y())), 0);
    // The Italian mainland at a small zoom is land, cut at the data's box without a shore line.
    const QPoint italy = tileOf(8, 42.0, 13.5);
    QVERIFY(landPixels(renderer.render(8, italy.x(), italy.y())) > 64 * 64 / 2);
    QVERIFY(renderer.render(3, 8, 0).isNull());
    QVERIFY(renderer.render(20, 0, 0).isNull());
}

void ChartTilesTest::neighbouringTilesMeetWithoutSeam()
{
    const ChartTileRenderer renderer(DemoWorld::coastline());
    // Tiles along the island-rich coast, at a small and a large zoom.
    for (const auto &[zoom, lat, lng] : {std::tuple{9, 43.5, 16.0}, std::tuple{11, 43.0, 16.2},
                                         std::tuple{14, 43.04, 16.08}}) {
        const QPoint centre = tileOf(zoom, lat, lng);
        int shores = 0;
        for (int d = 0; d < 9; ++d) {
            const QPoint t = centre + QPoint(d % 3 - 1, d / 3 - 1);
            const QImage here = renderer.render(zoom, t.x(), t.y());
            const QImage right = renderer.render(zoom, t.x() + 1, t.y());
            const QImage below = renderer.render(zoom, t.x(), t.y() + 1);
            int differ = 0;
            int land = 0;
            for (int i = 0; i < 256; ++i) {
                differ += isLand(here.pixel(255, i)) != isLand(right.pixel(0, i));
                differ += isLand(here.pixel(i, 255)) != isLand(below.pixel(i, 0));
                land += isLand(here.pixel(255, i)) + isLand(here.pixel(i, 255));
            }
            // One pixel apart, the shore may move by a pixel; a seam would differ all along.
            QVERIFY2(differ <= 12, qPrintable(QStringLiteral("zoom %1: %2 differ").arg(zoom).arg(differ)));
            shores += land > 0 && land < 512;
        }
        QVERIFY2(shores > 0, qPrintable(QStringLiteral("no shore crosses a tile edge at zoom %1").arg(zoom)));
    }
}

void ChartTilesTest::tilesAreDrawnOnceAndKeptOnDisk()
{
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("tiles"));
    const QPoint t = tileOf(10, 42.986766, 16.0203);
    QByteArray first;
    {
        TileService tiles(DemoWorld::coastline(), folder);
        first = tiles.png(10, t.x(), t.y());
        QVERIFY(first.startsWith("\x89PNG"));
        QCOMPARE(tiles.png(10, t.x(), t.y()), first);
        QCOMPARE(tiles.drawn(), 1);
        QVERIFY(tiles.png(10, -1, 0).isEmpty());
        QVERIFY(tiles.png(10, 1024, 0).isEmpty());
    }
    TileService again(DemoWorld::coastline(), folder);
    QCOMPARE(again.png(10, t.x(), t.y()), first);
    QCOMPARE(again.drawn(), 0);
    // Another look or other data get a folder of their own.
    QVERIFY(again.diskFolder().contains(QLatin1String(ChartTileRenderer::styleVersion)));
    QVERIFY(again.diskFolder().contains(QString::fromLatin1(DemoWorld::coastline().stamp())));
}

void ChartTilesTest::serverHandsOutTilesAsPng()
{
    DemoServer::Options options;
    options.port = 0;
    DemoServer server(options);
    QVERIFY(server.listen());
    const QPoint t = tileOf(10, 42.986766, 16.0203);
    const HttpGet::Answer a = HttpGet::get(server.port(), QStringLiteral("%1/%2/%3.png").arg(10).arg(t.x()).arg(t.y()));
    QCOMPARE(a.status, 200);
    QImage image;
    QVERIFY(image.loadFromData(a.body));
    QCOMPARE(image.size(), QSize(256, 256));
    QCOMPARE(HttpGet::get(server.port(), QStringLiteral("10/5000/1.png")).status, 404);
    QCOMPARE(HttpGet::get(server.port(), QStringLiteral("10/1/x.png")).status, 404);
}
