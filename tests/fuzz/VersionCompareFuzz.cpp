// CompareVersionStrings on any three versions: a comparison the updater can rely on.
#include "tests/fuzz/FuzzCheck.h"
#include "updater/VersionCompare.h"

#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>

namespace {
// Versions of digits, white space and punctuation only. Among them the comparison is a
// total order; a text part (letters and any other byte) brings the documented exception
// that prefixes differing by more than one byte compare equal (1.0b = 1.0beta, 1.0b < 1.0be).
bool withoutText(const QString &v)
{
    for (const char c : v.toLatin1()) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isdigit(u) && !std::isspace(u) && !std::ispunct(u))
            return false;
    }
    return true;
}

QString version(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(64);
    // Mostly one character per byte; sometimes UTF-8, whose characters beyond Latin-1
    // become '?' on the way to 8 bits.
    if (input.ConsumeBool())
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString a = version(input);
    const QString b = version(input);
    const QString c = version(input);
    const int ab = CompareVersionStrings(a, b);
    const int bc = CompareVersionStrings(b, c);
    const int ac = CompareVersionStrings(a, c);
    FUZZ_CHECK(ab == -1 || ab == 0 || ab == 1);
    // Reflexive and antisymmetric.
    FUZZ_CHECK(CompareVersionStrings(a, a) == 0);
    FUZZ_CHECK(CompareVersionStrings(b, a) == -ab);
    FUZZ_CHECK(CompareVersionStrings(c, b) == -bc);
    // The same texts give the same answer, and only the 8-bit form counts.
    FUZZ_CHECK(CompareVersionStrings(a, b) == ab);
    FUZZ_CHECK(CompareVersionStrings(QString::fromLatin1(a.toLatin1()), b) == ab);
    // Consistent: transitive, for versions without text parts.
    if (withoutText(a) && withoutText(b) && withoutText(c)) {
        if (ab <= 0 && bc <= 0)
            FUZZ_CHECK(ac <= 0);
        if (ab >= 0 && bc >= 0)
            FUZZ_CHECK(ac >= 0);
    }
    return 0;
}
