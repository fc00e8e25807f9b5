// The tracking server's position answers: any bytes, read as the client reads them.
#include "tests/fuzz/FuzzCheck.h"
#include "window/TrackingProtocol.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

using TrackingProtocol::LineError;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzCheck::silenceDiagnostics();
    return 0;
}

namespace {
bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString body = QString::fromLocal8Bit(bytes);
    const QStringList lines = TrackingProtocol::lines(body);
    // Every line end ends one line; a last line without one counts too.
    qsizetype ends = body.count(QLatin1Char('\n'));
    if (!body.isEmpty() && !body.endsWith(QLatin1Char('\n')))
        ++ends;
    FUZZ_CHECK(lines.size() == ends);
    // The client reads the answer as bytes: the same lines, and each the same verdict and
    // the same position, bit for bit.
    const std::vector<QByteArrayView> byteLines = TrackingProtocol::lines(QByteArrayView(bytes));
    FUZZ_CHECK(qsizetype(byteLines.size()) == lines.size());
    for (size_t i = 0; i < byteLines.size(); ++i) {
        LineError textError = LineError::None;
        LineError byteError = LineError::None;
        const auto p = TrackingProtocol::parsePosition(lines[qsizetype(i)], &textError);
        const auto q = TrackingProtocol::parsePosition(byteLines[i], &byteError);
        FUZZ_CHECK(textError == byteError && p.has_value() == q.has_value());
        if (p)
            FUZZ_CHECK(sameBits(p->lat, q->lat) && sameBits(p->lng, q->lng) && p->time == q->time
                       && sameBits(p->course, q->course));
    }
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
        LineError error = LineError::BadValue;
        const std::optional<TrackingProtocol::PositionLine> p = TrackingProtocol::parsePosition(line, &error);
        const qsizetype fields = line.count(QLatin1Char(';')) + 1;
        if (!p) {
            FUZZ_CHECK(error == (fields != 5 ? LineError::FieldCount : LineError::BadValue));
            continue;
        }
        FUZZ_CHECK(error == LineError::None);
        FUZZ_CHECK(fields == 5);
        // What is accepted can be stored and drawn: a place on the earth, a time after 1970
        // in the table's range, a finite course.
        FUZZ_CHECK(p->lat >= -90 && p->lat <= 90);
        FUZZ_CHECK(p->lng >= -180 && p->lng <= 180);
        FUZZ_CHECK(p->time > 0);
        FUZZ_CHECK(std::isfinite(p->course));
        // Written out again as a server would, the line reads back to the same position.
        const QString again = QStringLiteral("%1;%2;%3;%4;x")
                                  .arg(QString::number(p->lat, 'g', 17), QString::number(p->lng, 'g', 17))
                                  .arg(p->time)
                                  .arg(QString::number(p->course, 'g', 17));
        const std::optional<TrackingProtocol::PositionLine> q = TrackingProtocol::parsePosition(again);
        FUZZ_CHECK(q && q->lat == p->lat && q->lng == p->lng && q->time == p->time && q->course == p->course);
    }
    return 0;
}
