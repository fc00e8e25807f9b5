// Memory of a large race held in boats: 200 boats with 20,000 positions each, every
// track placed on the chart once. Reports the resident memory it takes per position.
//   bench_track_memory [boats] [positions per boat]
#include "bench/BenchRace.h"
#include "chart/ChartOwner.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "chart/TileSource.h"
#include "tools/demodata/RecordedRace.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QTextStream>

#include <memory>
#include <vector>

namespace {
class NoOwner : public ChartOwner
{
public:
    void setXYStatus(int, int, qreal, qreal, int) override {}
    void setZoomStatus(int) override {}
    void advanceFrame(int) override {}
    void setNetLedOn() override {}
    void setNetLedOff() override {}
    void toggleFollowAt(int, int) override {}
    void clearFollow() override {}
    void refreshShipTracks() override {}
    bool loadMaps() const override { return false; }
    bool animating() const override { return false; }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 20000;
    const QList<RecordedRace::Boat> recorded = RecordedRace::valencia();
    NoOwner owner;
    Scheme scene;
    QNetworkAccessManager network;
    TileSource tiles(QStringLiteral("/nonexistent"), QUrl(QStringLiteral("http://127.0.0.1:9")), &network);
    Karte chart(&scene, &owner, &tiles);
    chart.resize(1000, 800);
    chart.setCenter(42.74, 16.1);
    chart.setZoom(14);
    chart.refresh();

    const qint64 before = BenchRace::residentKiB();
    std::vector<std::unique_ptr<Ship>> ships;
    for (int b = 0; b < boats; ++b) {
        auto ship = std::make_unique<Ship>(b, QStringLiteral("Boot%1").arg(b), QString(), QString());
        const QList<RecordedRace::Fix> &source = recorded[b % recorded.size()].fixes;
        ship->fullTrack().reserve(positions);
        for (int i = 0; i < positions; ++i) {
            const RecordedRace::Fix &f = source[i % source.size()];
            ship->fullTrack().append(f.lat + 3.36, f.lng + 16.42, 1712743200 + 2 * i, 0);
        }
        ship->setPointCount(positions);
        ship->showFullTrack();
        ship->setReady(true);
        ship->setShowCompleteTrack(true);
        ship->setCurrentPoint(*ship->positionAt(1712743200 + 2 * positions));
        ship->setCurrentTime(1712743200 + 2 * positions);
        ship->updateOnChart(chart);
        ships.push_back(std::move(ship));
    }
    const qint64 after = BenchRace::residentKiB();
    const double total = double(boats) * positions;
    auto perPosition = [&](qint64 kib) { return QString::number(kib * 1024.0 / total, 'f', 1); };
    QTextStream(stdout) << boats << " boats x " << positions << " positions: " << (after - before) / 1024
                        << " MiB resident, " << perPosition(after - before) << " bytes per position held"
                        << Qt::endl;
    // Drawing keeps every position's pixel at the zoom drawn.
    chart.setZoom(10);
    chart.refresh();
    chart.grab();
    const qint64 drawn = BenchRace::residentKiB();
    QTextStream(stdout) << "after drawing every track once: " << perPosition(drawn - before)
                        << " bytes per position" << Qt::endl;
    return 0;
}
