#include "updater/VersionCompare.h"

#include <QByteArray>
#include <QList>

#include <cctype>
#include <cstdlib>
#include <limits>

namespace {

enum class PartClass { Number, Separator, Text };

struct Part
{
    PartClass kind;
    QByteArray text;
};

PartClass classOf(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (std::isdigit(u))
        return PartClass::Number;
    if (std::isspace(u) || std::ispunct(u))
        return PartClass::Separator;
    return PartClass::Text;
}

// Runs of digits and runs of other text are parts; each separator is a part of its own.
QList<Part> split(const QByteArray &version)
{
    QList<Part> parts;
    for (const char c : version) {
        const PartClass kind = classOf(c);
        if (!parts.isEmpty() && parts.last().kind == kind && kind != PartClass::Separator)
            parts.last().text += c;
        else
            parts.append({kind, QByteArray(1, c)});
    }
    return parts;
}

// A number as a 32-bit value; out-of-range numbers are held at the ends of the range.
qint32 numberOf(const QByteArray &digits)
{
    const long long v = std::strtoll(digits.constData(), nullptr, 10);
    if (v > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return qint32(v);
}

// -1 or +1 at the first differing byte, else the difference of the lengths.
int compareText(const QByteArray &a, const QByteArray &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return int(qint16(a.size() - b.size()));
}

} // namespace

int CompareVersionStrings(const QString &a, const QString &b)
{
    const QList<Part> left = split(a.toLatin1());
    const QList<Part> right = split(b.toLatin1());
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const Part &x = left[i];
        const Part &y = right[i];
        if (x.kind == y.kind) {
            if (x.kind == PartClass::Number) {
                const qint32 p = numberOf(x.text);
                const qint32 q = numberOf(y.text);
                if (p != q)
                    return p < q ? -1 : 1;
            } else if (x.kind == PartClass::Text) {
                const int c = compareText(x.text, y.text);
                if (c == -1 || c == 1)
                    return c;
            }
            continue;
        }
        if (x.kind == PartClass::Text)
            return -1;
        if (y.kind == PartClass::Text)
            return 1;
        return x.kind == PartClass::Number ? 1 : -1;
    }
    if (left.size() == right.size())
        return 0;
    if (right.size() > left.size())
        return right[common].kind == PartClass::Text ? 1 : -1;
    return left[common].kind == PartClass::Text ? -1 : 1;
}
