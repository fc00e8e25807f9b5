#include "tests/chart/ChartRig.h"

#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QTest>

ChartRig::ChartRig(const QSize &viewSize, bool loadMaps, int zoom, const GeoPoint &centre)
    : size(viewSize)
{
    owner.tiles.setServerUrl(tiles.baseUrl());
    owner.loadMapsFlag = loadMaps;
    chart = std::make_unique<Karte>(&scene, &owner, &owner.tiles);
    chart->setCenter(centre);
    chart->setZoom(zoom);
    chart->resize(size);
}

void ChartRig::rebuild(int zoom, const GeoPoint &centre)
{
    chart.reset();
    chart = std::make_unique<Karte>(&scene, &owner, &owner.tiles);
    chart->setCenter(centre);
    chart->setZoom(zoom);
    chart->resize(size);
    start();
}

Karte &ChartRig::start()
{
    chart->show();
    if (!QTest::qWaitForWindowExposed(chart.get()))
        qWarning("ChartRig: the chart window was not exposed");
    chart->refresh();
    return *chart;
}

bool ChartRig::settle(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !chart->fetchPassRunning() && owner.ledOn == owner.ledOff; },
                           timeoutMs);
}

QList<QPoint> ChartRig::searchedTiles() const
{
    QList<QPoint> result;
    const QRect r = chart->grid().tileRange();
    for (int x = r.left(); x <= r.right() + 1; ++x) {
        for (int y = r.top(); y <= r.bottom() + 1; ++y)
            result << QPoint(x, y);
    }
    return result;
}

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QImage viewPixels(Karte &chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    chart.QWidget::render(&image);
    return image;
}

QString cachedTilePath(int zoom, int x, int y)
{
    return TestEnvironment::dataFolder() + QStringLiteral("/maps/%1/%2/%3.png").arg(zoom).arg(x).arg(y);
}

bool cacheTile(int zoom, int x, int y, const QImage &image)
{
    QDir().mkpath(TestEnvironment::dataFolder() + QStringLiteral("/maps/%1/%2").arg(zoom).arg(x));
    return image.save(cachedTilePath(zoom, x, y), "PNG");
}
