// The tracking server's boat lists: any bytes, read as the client reads them.
#include "tests/fuzz/FuzzCheck.h"
#include "window/TrackingProtocol.h"

#include <QString>

#include <cstdint>
#include <cstring>

using TrackingProtocol::LineError;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzCheck::silenceDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The palette index is the running count of boats; any int must give one of its colours.
    if (size >= sizeof(int)) {
        int k = 0;
        std::memcpy(&k, data, sizeof k);
        const QString colour = TrackingProtocol::paletteColour(k);
        bool inPalette = false;
        for (int i = 0; i < TrackingProtocol::paletteSize; ++i)
            inPalette = inPalette || colour == TrackingProtocol::paletteColour(i);
        FUZZ_CHECK(inPalette);
    }
    const QString body = QString::fromUtf8(bytes);
    for (const QString &line : TrackingProtocol::lines(body)) {
        LineError error = LineError::BadValue;
        const std::optional<TrackingProtocol::BoatLine> b = TrackingProtocol::parseBoat(line, &error);
        const QStringList fields = line.split(QLatin1Char('|'));
        if (!b) {
            FUZZ_CHECK(error == (fields.size() != 10 ? LineError::FieldCount : LineError::BadValue));
            continue;
        }
        FUZZ_CHECK(error == LineError::None);
        FUZZ_CHECK(fields.size() == 10);
        // The texts are the line's fields as they are; the two keys are the numbers written.
        FUZZ_CHECK(b->klasse == fields[0] && b->startnr == fields[3] && b->name == fields[4] && b->team == fields[5]
                   && b->skipper == fields[6]);
        bool idOk = false;
        bool raceOk = false;
        FUZZ_CHECK(fields[1].trimmed().toInt(&idOk) == b->id && idOk);
        FUZZ_CHECK(fields[9].trimmed().toInt(&raceOk) == b->raceId && raceOk);
    }
    return 0;
}
