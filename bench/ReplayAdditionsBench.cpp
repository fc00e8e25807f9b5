// What the replay's additions cost on a large race: 100 boats with 10,000 positions each.
// Marking old positions runs on every replay step; drawing a faded boat with its age costs
// more than a fresh one; a readout is worked out only when the pointer rests on a boat.
//   bench_replay_additions [boats] [positions per boat]
#include "chart/BoatReadout.h"
#include "chart/ChartOwner.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/TileSource.h"
#include "window/StaleMarking.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QPainter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int t0 = 1712743200;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

class QuietOwner : public ChartOwner
{
public:
    void setXYStatus(int, int, qreal, qreal, int) override {}
    void setZoomStatus(int) override {}
    void advanceFrame(int) override {}
    void setNetLedOn() override {}
    void setNetLedOff() override {}
    void toggleFollowAt(int, int) override {}
    void clearFollow() override {}
    void refreshShipTracks() override
    {
        for (Ship *s : ships)
            s->updateOnChart(*chart);
    }
    bool loadMaps() const override { return false; }
    bool animating() const override { return true; }
    QList<Ship *> ships;
    Karte *chart = nullptr;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;

    QTemporaryDir folder;
    QNetworkAccessManager network;
    TileSource tiles(folder.path(), QUrl(QStringLiteral("http://127.0.0.1:9")), &network);
    QuietOwner owner;
    Scheme scene;
    Karte chart(&scene, &owner, &tiles);
    owner.chart = &chart;
    chart.resize(1000, 800);
    chart.setZoom(12);
    chart.setCenter(43.0, 16.1);

    const QImage strip(QStringLiteral("sprites/shipstrip.png"));
    std::vector<std::unique_ptr<Ship>> fleet;
    for (int b = 0; b < boats; ++b) {
        auto ship = std::make_unique<Ship>(b, QStringLiteral("Boot %1").arg(b), QString(), QString());
        // Fixes every two seconds; every tenth boat stops reporting halfway.
        const int n = b % 10 == 0 ? positions / 2 : positions;
        for (int i = 0; i < n; ++i)
            ship->fullTrack().append(42.9 + 0.002 * (b % 10) + 0.00001 * i, 16.0 + 0.002 * (b / 10) + 0.00001 * i,
                                     t0 + 2 * i + b % 2, 0);
        ship->setPointCount(n);
        ship->showFullTrack();
        ship->setShowCompleteTrack(false);
        ship->setSpriteStrip(strip);
        ship->setFarbe(QStringLiteral("#ff008a"));
        ship->setReady(true);
        ship->setCurrentPoint(ship->fullTrack().point(0));
        owner.ships << ship.get();
        scene.addItem(ship.get());
        fleet.push_back(std::move(ship));
    }
    out() << boats << " boats x " << positions << " positions" << Qt::endl;

    QSpinBox box;
    StaleMarking marking(&box);
    std::vector<double> ticks;
    const int end = t0 + 2 * positions;
    for (int k = 0; k < 400; ++k) {
        const int t = t0 + (end - t0) * k / 400;
        QElapsedTimer timer;
        timer.start();
        for (const auto &ship : fleet)
            marking.mark(*ship, t);
        ticks.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out() << "marking old positions: " << QString::number(median(ticks), 'f', 3) << " ms per step (median of 400)"
          << Qt::endl;

    // Drawing the chart's items at the end of the race: first all fresh, then with the
    // boats that stopped halfway faded and labelled (a tenth of the fleet), then all faded.
    for (const auto &ship : fleet) {
        ship->setCurrentPoint(*ship->positionAt(end));
        ship->setCurrentTime(end);
    }
    QImage canvas(1000, 800, QImage::Format_ARGB32_Premultiplied);
    auto frame = [&](auto label) {
        for (const auto &ship : fleet)
            ship->setStaleLabel(label(*ship));
        chart.refresh();
        std::vector<double> times;
        for (int i = 0; i < 30; ++i) {
            canvas.fill(Qt::white);
            QElapsedTimer timer;
            timer.start();
            QPainter painter(&canvas);
            scene.render(&painter, QRectF(canvas.rect()), QRectF(0, 0, 1000, 800));
            painter.end();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        return median(times);
    };
    out() << "drawing the boats, all fresh: "
          << QString::number(frame([](const Ship &) { return QString(); }), 'f', 2) << " ms" << Qt::endl;
    out() << "drawing the boats, a tenth faded: "
          << QString::number(frame([end, &marking](const Ship &s) {
                                 return StaleMarking::labelFor(s, end, qint64(marking.limitMinutes()) * 60);
                             }),
                             'f', 2)
          << " ms" << Qt::endl;
    out() << "drawing the boats, all faded: "
          << QString::number(frame([](const Ship &) { return QStringLiteral("vor 2 h"); }), 'f', 2) << " ms"
          << Qt::endl;

    std::vector<double> readouts;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QString text = BoatReadout::ofShip(*fleet[size_t(i % boats)], end - 3600);
        readouts.push_back(double(timer.nsecsElapsed()) / 1e3);
        Q_UNUSED(text);
    }
    out() << "one boat's readout: " << QString::number(median(readouts), 'f', 1) << " us" << Qt::endl;
    for (auto &ship : fleet)
        scene.removeItem(ship.get());
    return 0;
}
