// What exporting a large race costs: collecting the shown boats' tracks out of the chart
// items, and writing them as GPX and as KML to a file. The export of 100 boats with 10,000
// positions each should take less than a second, so that its progress dialog stays hidden.
//   bench_track_export [boats] [positions per boat] [runs]
#include "chart/Ship.h"
#include "race/ExportSelection.h"
#include "race/GpxWriter.h"
#include "race/KmlWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {
QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

std::vector<std::unique_ptr<Ship>> makeFleet(int boats, int positions)
{
    std::vector<std::unique_ptr<Ship>> fleet;
    for (int b = 0; b < boats; ++b) {
        auto ship = std::make_unique<Ship>(5000 + b, QStringLiteral("Boot %1").arg(b), QString(), QString());
        ship->setStartnr(QString::number(b + 1));
        ship->setKlasse(b % 2 ? QStringLiteral("J/80") : QStringLiteral("Melges 24"));
        ship->setFarbe(QStringLiteral("#ff008a"));
        ship->setReady(true);
        ship->setShowCompleteTrack(true);
        Track &track = ship->fullTrack();
        track.reserve(positions);
        for (int i = 0; i < positions; ++i)
            track.append(42.5 + 0.3 * std::sin(i * 0.001 + b), 16.0 + 0.3 * std::cos(i * 0.0013 + b),
                         1712743200 + 5 * i, 0.0);
        ship->setPointCount(positions);
        fleet.push_back(std::move(ship));
    }
    return fleet;
}

template <typename Write>
double timeWrite(const QString &path, Write write, qint64 *bytes)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    const bool ok = write(file) == ExportResult::Written;
    file.close();
    *bytes = QFileInfo(path).size();
    return ok ? timer.nsecsElapsed() / 1e6 : -1;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int boats = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    const int positions = argc > 2 ? std::max(1, atoi(argv[2])) : 10000;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;

    const std::vector<std::unique_ptr<Ship>> fleet = makeFleet(boats, positions);
    QList<Ship *> ships;
    for (const auto &ship : fleet)
        ships.append(ship.get());
    QTemporaryDir dir;

    double bestCollect = 1e9;
    double bestGpx = 1e9;
    double bestKml = 1e9;
    qint64 gpxBytes = 0;
    qint64 kmlBytes = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const ExportedRace race = ExportSelection::collect(QStringLiteral("Bench"), ships, 1712743200, 1712743200);
        bestCollect = std::min(bestCollect, timer.nsecsElapsed() / 1e6);
        if (race.fixCount() != qint64(boats) * positions) {
            out() << "collected " << race.fixCount() << " positions, expected " << qint64(boats) * positions << Qt::endl;
            return 1;
        }
        const double gpx = timeWrite(dir.filePath(QStringLiteral("race.gpx")),
                                     [&](QIODevice &d) { return GpxWriter::write(d, race); }, &gpxBytes);
        const double kml = timeWrite(dir.filePath(QStringLiteral("race.kml")),
                                     [&](QIODevice &d) { return KmlWriter::write(d, race); }, &kmlBytes);
        if (gpx < 0 || kml < 0) {
            out() << "writing failed" << Qt::endl;
            return 1;
        }
        bestGpx = std::min(bestGpx, gpx);
        bestKml = std::min(bestKml, kml);
    }
    out() << boats << " boats x " << positions << " positions, best of " << runs << " runs" << Qt::endl;
    out() << "  collect " << QString::number(bestCollect, 'f', 1) << " ms" << Qt::endl;
    out() << "  GPX     " << QString::number(bestGpx, 'f', 1) << " ms, " << gpxBytes / (1024 * 1024) << " MiB"
          << (bestCollect + bestGpx < 1000 ? "" : "  (slower than 1 s with collecting)") << Qt::endl;
    out() << "  KML     " << QString::number(bestKml, 'f', 1) << " ms, " << kmlBytes / (1024 * 1024) << " MiB"
          << (bestCollect + bestKml < 1000 ? "" : "  (slower than 1 s with collecting)") << Qt::endl;
    return 0;
}
