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

// A field's number, read the C way. Blanks around it are allowed, a blank field is no
// number: QByteArray would read it as 0, a place off Africa.
template <typename Text>
double number(const Text &text, bool *ok)
{
    const Text trimmed = text.trimmed();
    *ok = false;
    return trimmed.isEmpty() ? 0 : trimmed.toDouble(ok);
}

// The numbers of a line's fields, the same for text and for bytes (Text: QString or
// QByteArray).
template <typename Text>
std::optional<PositionLine> fromFields(const Text &latText, const Text &lngText, const Text &timeText,
                                       const Text &courseText, LineError *error)
{
    bool latOk = false;
    bool lngOk = false;
    bool timeOk = false;
    PositionLine p;
    p.lat = number(latText, &latOk);
    p.lng = number(lngText, &lngOk);
    const qlonglong time = timeText.trimmed().toLongLong(&timeOk);
    if (!latOk || !lngOk || !timeOk || !(p.lat >= -90 && p.lat <= 90) || !(p.lng >= -180 && p.lng <= 180)
        || time <= 0 || time > std::numeric_limits<int>::max()) {
        fail(error, LineError::BadValue);
        return std::nullopt;
    }
    p.time = int(time);
    bool courseOk = false;
    p.course = number(courseText, &courseOk);
    if (!courseOk || !std::isfinite(p.course))
        p.course = 0;
    return p;
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
    return fromFields(fields[0], fields[1], fields[2], fields[3], error);
}

std::optional<PositionLine> parsePosition(QByteArrayView line, LineError *error)
{
    // Beyond ASCII, spaces and digits of other scripts are the text decoder's business.
    for (const char c : line) {
        if (uchar(c) >= 0x80)
            return parsePosition(QString::fromUtf8(line), error);
    }
    fail(error, LineError::None);
    QByteArrayView fields[5];
    qsizetype from = 0;
    int n = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != ';')
            continue;
        if (n == 5) {
            fail(error, LineError::FieldCount);
            return std::nullopt;
        }
        fields[n++] = line.sliced(from, i - from);
        from = i + 1;
    }
    if (n != 5) {
        fail(error, LineError::FieldCount);
        return std::nullopt;
    }
    auto bytes = [&fields](int i) { return QByteArray::fromRawData(fields[i].data(), fields[i].size()); };
    return fromFields(bytes(0), bytes(1), bytes(2), bytes(3), error);
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

std::vector<QByteArrayView> lines(QByteArrayView body)
{
    std::vector<QByteArrayView> result;
    qsizetype from = 0;
    while (from < body.size()) {
        qsizetype end = body.indexOf('\n', from);
        const qsizetype next = end < 0 ? body.size() : end + 1;
        if (end < 0)
            end = body.size();
        QByteArrayView line = body.sliced(from, end - from);
        if (line.endsWith('\r'))
            line.chop(1);
        result.push_back(line);
        from = next;
    }
    return result;
}

QString paletteColour(int k)
{
    return QString::fromLatin1(palette[((k % paletteSize) + paletteSize) % paletteSize]);
}

} // namespace TrackingProtocol
