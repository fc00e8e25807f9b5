#include "tools/demodata/RecordedRace.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace RecordedRace {

QString valenciaPath()
{
    return QStringLiteral(BRISAVELA_DEMODATA_DIR "/valencia-2025-06-21.csv");
}

QList<Boat> valencia()
{
    QFile file(valenciaPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    in.readLine(); // boat,race,tstamp,lat,lng
    QList<Boat> boats;
    QHash<QString, int> index;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (f.size() != 5)
            continue;
        if (!index.contains(f[0])) {
            index.insert(f[0], int(boats.size()));
            boats.append(Boat{f[0], {}});
        }
        boats[index.value(f[0])].fixes.append({f[3].toDouble(), f[4].toDouble(), f[2].toInt()});
    }
    for (Boat &b : boats)
        std::sort(b.fixes.begin(), b.fixes.end(), [](const Fix &a, const Fix &c) { return a.time < c.time; });
    return boats;
}

QList<Fix> movedTo(const QList<Fix> &fixes, double lat, double lng)
{
    if (fixes.isEmpty())
        return {};
    const Fix origin = fixes.first();
    constexpr double degree = 3.141592653589793 / 180.0;
    // A degree of longitude is shorter further from the equator.
    const double stretch = std::cos(origin.lat * degree) / std::cos(lat * degree);
    QList<Fix> result;
    result.reserve(fixes.size());
    for (const Fix &f : fixes)
        result.append({lat + (f.lat - origin.lat), lng + (f.lng - origin.lng) * stretch, f.time});
    return result;
}

QList<Fix> firstSeconds(const QList<Fix> &fixes, int seconds)
{
    QList<Fix> result;
    if (fixes.isEmpty())
        return result;
    const int end = fixes.first().time + seconds;
    for (const Fix &f : fixes) {
        if (f.time < end)
            result.append(f);
    }
    return result;
}

} // namespace RecordedRace
