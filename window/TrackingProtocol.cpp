#include "window/TrackingProtocol.h"

#include <cmath>
#include <limits>

namespace TrackingProtocol {

namespace {
const char *const palette[paletteSize] = {
    "#ff008a", "#00ffcc", "#9000ff", "#ffffff", "#00ff00", "#ffff00", "#0000ff", "#ff0000",
    "#e19a00", "#7fe100", "#000000", "#C44c4c", "#5cc588", "#ff7800", "#b10034",
};

void fail(LineError *error, LineError value)
{
    if (error)
        *error = value;
}
} // namespace

std::optional<PositionLine> parsePosition(const QString &line, LineError *error)
{
    fail(error, LineError::None);
    const QStringList fields = line.split(QLatin1Char(';'));
    if (fields.size() != 5) {
        fail(error, LineError::FieldCount);
        return std::nullopt;
    }
    bool latOk = false;
    bool lngOk = false;
    bool timeOk = false;
    PositionLine p;
    p.lat = fields[0].toDouble(&latOk);
    p.lng = fields[1].toDouble(&lngOk);
    const qlonglong time = fields[2].trimmed().toLongLong(&timeOk);
    if (!latOk || !lngOk || !timeOk || !(p.lat >= -90 && p.lat <= 90) || !(p.lng >= -180 && p.lng <= 180)
        || time <= 0 || time > std::numeric_limits<int>::max()) {
        fail(error, LineError::BadValue);
        return std::nullopt;
    }
    p.time = int(time);
    bool courseOk = false;
    p.course = fields[3].toDouble(&courseOk);
    if (!courseOk || !std::isfinite(p.course))
        p.course = 0;
    return p;
}

std::optional<BoatLine> parseBoat(const QString &line, LineError *error)
{
    fail(error, LineError::None);
    const QStringList fields = line.split(QLatin1Char('|'));
    if (fields.size() != 10) {
        fail(error, LineError::FieldCount);
        return std::nullopt;
    }
    bool idOk = false;
    bool raceOk = false;
    BoatLine b;
    b.id = fields[1].trimmed().toInt(&idOk);
    b.raceId = fields[9].trimmed().toInt(&raceOk);
    if (!idOk || !raceOk) {
        fail(error, LineError::BadValue);
        return std::nullopt;
    }
    b.klasse = fields[0];
    b.startnr = fields[3];
    b.name = fields[4];
    b.team = fields[5];
    b.skipper = fields[6];
    b.firstTime = fields[8].trimmed().toInt();
    return b;
}

QStringList lines(const QString &body)
{
    QStringList result = body.split(QLatin1Char('\n'));
    // The end of the last line end is not the start of another line.
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    for (QString &l : result) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    return result;
}

QString paletteColour(int k)
{
    return QString::fromLatin1(palette[((k % paletteSize) + paletteSize) % paletteSize]);
}

} // namespace TrackingProtocol
