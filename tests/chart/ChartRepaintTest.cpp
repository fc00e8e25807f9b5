#include "tests/chart/ChartRepaintTest.h"

#include "chart/GateItem.h"
#include "chart/Ship.h"
#include "chart/TileGrid.h"
#include "tests/chart/ChartRig.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QDir>
#include <QPaintEvent>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

namespace {
// Records the region of every paint of a widget.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget *widget)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent *>(event)->region();
        return false;
    }
    QRegion painted() const
    {
        QRegion all;
        for (const QRegion &r : regions)
            all += r;
        return all;
    }
    QList<QRegion> regions;
};

// A tile server that holds its one answer back until the test lets it go.
class HeldTile
{
public:
    HeldTile()
    {
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl baseUrl() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
    }
    // True once a whole request has come in; call it from a wait loop.
    bool requested()
    {
        if (!m_socket && m_server.hasPendingConnections())
            m_socket = m_server.nextPendingConnection();
        if (m_socket)
            m_request += m_socket->readAll();
        return m_request.contains("\r\n\r\n");
    }
    QByteArray request() const
    {
        return m_request;
    }
    void answer(const QImage &tile)
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        m_socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\nContent-Length: "
                        + QByteArray::number(png.size()) + "\r\n\r\n" + png);
        m_socket->disconnectFromHost();
    }

private:
    QTcpServer m_server;
    QTcpSocket *m_socket = nullptr;
    QByteArray m_request;
};

bool cache(int z, const QPoint &tile)
{
    return cacheTile(z, tile.x(), tile.y(), TileServerFixture::tileImage(z, tile.x(), tile.y()));
}
} // namespace

void ChartRepaintTest::init()
{
    TestEnvironment::reset();
}

void ChartRepaintTest::loadedTilesRedrawTheItemsOverThem()
{
    const QSize view(400, 300);
    const GeoPoint centre(42.99, 16.0);
    ChartRig rig(view, true, 9, centre);

    // The layout one zoom level in. The boat goes 38 pixels left of one of its tiles, the
    // late tile: the boat and its track stay out of that tile, its speed label reaches in.
    TileGrid next;
    next.setZoom(10);
    next.setCentre(centre.lat, centre.lng);
    next.layout(view);
    QPoint late;
    QPoint boat;
    for (int y = next.tileRange().top(); y <= next.tileRange().bottom() && boat.isNull(); ++y) {
        for (int x = next.tileRange().left(); x <= next.tileRange().right(); ++x) {
            const QRect r = next.tileScreenRect(QPoint(x, y));
            const QPoint at(r.left() - 38, r.top() + 100);
            if (at.x() >= 60 && r.left() <= view.width() - 40 && at.y() >= 40 && at.y() <= view.height() - 60) {
                late = QPoint(x, y);
                boat = at;
                break;
            }
        }
    }
    QVERIFY(!boat.isNull());
    const GeoPoint at = next.coordinatesAtPixel(boat.x(), boat.y(), view);

    // A followed boat on a level track, with the label of a GPS jump, and a level gate
    // that runs across into the late tile.
    auto *ship = new Ship(7, QStringLiteral("Boot7"), QString(), QString());
    for (int i = 0; i < 4; ++i)
        ship->fullTrack().append(at.lat, at.lng - 0.01 * (3 - i), 1000 + 60 * i, 0);
    ship->setPointCount(4);
    ship->showFullTrack();
    ship->shownTrack().setColour(QColor(0, 0, 255));
    ship->setFarbe(QStringLiteral("#ff0000"));
    ship->setSpriteStrip(QImage(QStringLiteral("sprites/shipstrip.png")));
    ship->setReady(true);
    ship->setFollow(true);
    ship->setSpeed(123456.7);
    ship->setCurrentPoint(*ship->positionAt(1180));
    ship->setCurrentTime(1180);
    rig.scene.addItem(ship);
    const GeoPoint below = next.coordinatesAtPixel(boat.x(), boat.y() + 40, view);
    auto *gate = new GateItem(below.lat, below.lng - 0.05, below.lat, below.lng + 0.1, 0, 0, QStringLiteral("Linie"),
                              false);
    rig.scene.addItem(gate);
    rig.chart->setGates({gate});
    rig.owner.placeShips = [&] { ship->updateOnChart(*rig.chart); };

    rig.start();
    QVERIFY(rig.settle());
    Karte &chart = *rig.chart;

    // Every tile of the next level is on disk but the late one, which a server holds back.
    const QList<QPoint> searched = [&] {
        QList<QPoint> tiles;
        for (int x = next.tileRange().left(); x <= next.tileRange().right() + 1; ++x) {
            for (int y = next.tileRange().top(); y <= next.tileRange().bottom() + 1; ++y)
                tiles << QPoint(x, y);
        }
        return tiles;
    }();
    for (const QPoint &t : searched) {
        if (t != late)
            QVERIFY(cache(10, t));
    }
    HeldTile server;
    rig.owner.tiles.setServerUrl(server.baseUrl());

    chart.zoomBy(1);
    QCOMPARE(chart.grid().tileRange(), next.tileRange());
    auto loaded = [&chart](const QPoint &t) { return chart.hasTile(t) && !chart.isPlaceholder(t); };
    QVERIFY(QTest::qWaitFor([&] {
        return server.requested() && std::all_of(searched.begin(), searched.end(), [&](const QPoint &t) {
                   return t == late || loaded(t);
               });
    }));
    QVERIFY(server.request().startsWith(QStringLiteral("GET /10/%1/%2.png ").arg(late.x()).arg(late.y()).toLatin1()));

    // The whole view as it stands, the boat drawn over the placeholder of the late tile.
    PaintLog log(chart.viewport());
    chart.viewport()->repaint();
    QCOMPARE(log.regions.size(), 1);
    log.regions.clear();

    // The late tile arrives and repaints its own square.
    server.answer(TileServerFixture::tileImage(10, late.x(), late.y()));
    const QRegion square = QRegion(chart.grid().tileScreenRect(late)) & chart.viewport()->rect();
    QVERIFY(QTest::qWaitFor([&] { return loaded(late) && (square - log.painted()).isEmpty(); }));
    QVERIFY(rig.settle());
    QVERIFY(!(QRegion(chart.viewport()->rect()) - log.painted()).isEmpty());

    // What is on the screen now is what a fresh paint of the whole view gives. Both come
    // from the same raster engine in this process, so they must agree to the pixel.
    const QImage screen =
        chart.screen()->grabWindow(chart.winId(), 0, 0, chart.width(), chart.height()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (screen.size() != fresh.size())
        QSKIP("this platform's window capture does not deliver device pixels at this scale factor");
    int differing = 0;
    for (int y = 0; y < fresh.height(); ++y) {
        for (int x = 0; x < fresh.width(); ++x)
            differing += screen.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
    }
    QCOMPARE(differing, 0);
    // And the boat's label did reach into the late tile.
    QVERIFY(ship->boundingRect().right() > chart.grid().tileScreenRect(late).left());
}
