#include "tests/faults/TileFaultTest.h"

#include "chart/TileReplyGuard.h"
#include "tests/faults/ChartWindowRig.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTest>

namespace {
bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}
} // namespace

void TileFaultTest::init()
{
    TestEnvironment::reset();
}

void TileFaultTest::refusedTileRepliesLeavePlaceholders_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("diagnostic");
    using Mode = TileServerFixture::Mode;
    QTest::newRow("reset mid-body") << int(Mode::ResetMidBody) << QStringLiteral("Karte::handleNetworkData,  \"");
    QTest::newRow("image over the size limit")
        << int(Mode::Oversized) << QStringLiteral("Karte::handleNetworkData, Kachel zu gross: \"4096 x 4096 Pixel\"");
    QTest::newRow("endless body") << int(Mode::Endless)
                                  << QStringLiteral("Karte::handleNetworkData, Kachel groesser als %1 Bytes, abgebrochen:")
                                         .arg(TileReplyGuard::maxBytes);
    QTest::newRow("redirect to another server")
        << int(Mode::RedirectAway) << QStringLiteral("Karte::handleNetworkData, Umleitung auf einen anderen Server abgelehnt:");
}

void TileFaultTest::refusedTileRepliesLeavePlaceholders()
{
    QFETCH(int, mode);
    QFETCH(QString, diagnostic);
    const auto fault = TileServerFixture::Mode(mode);
    TileServerFixture elsewhere;
    ChartWindowRig rig;
    rig.tiles.setModeFor(ChartWindowRig::centrePath(), fault);
    rig.tiles.setRedirectTarget(elsewhere.baseUrl());
    LogCapture log;
    rig.start();
    QVERIFY(rig.settle());

    const QPoint centre = ChartWindowRig::centreTile;
    QVERIFY(rig.rig.window->isVisible());
    QVERIFY(rig.chart()->isPlaceholder(centre));
    QVERIFY(!QFile::exists(ChartWindowRig::cacheFile()));
    QVERIFY2(log.containsPart(diagnostic), qPrintable(log.texts().filter(QStringLiteral("Karte::handle")).join(u'\n')));
    // The other tiles of the view came and were cached.
    const QPoint neighbour = centre + QPoint(1, 0);
    QVERIFY(sameImage(rig.chart()->storedTile(neighbour),
                      TileServerFixture::tileImage(ChartWindowRig::zoom, neighbour.x(), neighbour.y())));
    QVERIFY(QFile::exists(ChartWindowRig::cacheFile(neighbour)));
    if (fault == TileServerFixture::Mode::RedirectAway)
        QVERIFY(elsewhere.server().requests().isEmpty());
    if (fault == TileServerFixture::Mode::Endless) {
        // The chart hung up once the reply passed the limit.
        QVERIFY(QTest::qWaitFor([&] { return rig.tiles.server().endlessStreams() == 0; }, 5000));
        QVERIFY(rig.tiles.server().endlessBytes() < 4 * TileReplyGuard::maxBytes);
    }

    // The server sends the tile again: the next time it is needed it loads and is cached.
    rig.tiles.clearModes();
    rig.lookAgain();
    QVERIFY(rig.settle());
    QVERIFY(!rig.chart()->isPlaceholder(centre));
    QVERIFY(sameImage(rig.chart()->storedTile(centre),
                      TileServerFixture::tileImage(ChartWindowRig::zoom, centre.x(), centre.y())));
    QVERIFY(QFile::exists(ChartWindowRig::cacheFile()));
}
