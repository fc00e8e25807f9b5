#include "tools/coastline/Coastline.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <climits>

namespace {
// Reads the varints and fixed fields of the file, failing on anything cut short.
class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : m_data(data)
    {
    }

    bool ok() const { return m_ok; }

    quint64 varint()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_pos >= m_data.size()) {
                m_ok = false;
                return 0;
            }
            const auto byte = quint8(m_data[m_pos++]);
            value |= quint64(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_ok = false;
        return 0;
    }

    qint64 zigzag()
    {
        const quint64 v = varint();
        return qint64(v >> 1) ^ -qint64(v & 1);
    }

    quint32 fixed(int bytes)
    {
        if (m_pos + bytes > m_data.size()) {
            m_ok = false;
            return 0;
        }
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= quint32(quint8(m_data[m_pos + i])) << (8 * i);
        m_pos += bytes;
        return value;
    }

    bool atEnd() const { return m_pos == m_data.size(); }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};
} // namespace

QString Coastline::adriaticPath()
{
    return QStringLiteral(BRISAVELA_COASTLINE_FILE);
}

bool Coastline::load(const QString &path)
{
    m_polygons.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (!data.startsWith("BCST"))
        return false;
    Reader in(data);
    in.fixed(4);
    if (in.fixed(1) != 1)
        return false;
    const auto west = qint32(in.fixed(4));
    const auto south = qint32(in.fixed(4));
    const auto east = qint32(in.fixed(4));
    const auto north = qint32(in.fixed(4));
    const quint32 count = in.fixed(4);
    QList<Polygon> polygons;
    for (quint32 i = 0; i < count && in.ok(); ++i) {
        const quint32 level = in.fixed(1);
        const quint64 n = in.varint();
        if (n > quint64(data.size()) || (level != 1 && level != 2))
            return false;
        Polygon polygon{Level(level), {}, {}};
        polygon.points.reserve(qsizetype(n));
        qint64 x = 0;
        qint64 y = 0;
        int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
        for (quint64 k = 0; k < n && in.ok(); ++k) {
            x += in.zigzag();
            y += in.zigzag();
            polygon.points.append(QPoint(int(x), int(y)));
            minX = std::min(minX, int(x));
            maxX = std::max(maxX, int(x));
            minY = std::min(minY, int(y));
            maxY = std::max(maxY, int(y));
        }
        polygon.bounds = QRect(QPoint(minX, minY), QPoint(maxX, maxY));
        polygons.append(std::move(polygon));
    }
    if (!in.ok() || !in.atEnd())
        return false;
    m_polygons = std::move(polygons);
    m_box = QRect(QPoint(west, south), QPoint(east, north));
    m_stamp = QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(12);
    return true;
}

bool Coastline::isBoxEdge(const QPoint &a, const QPoint &b) const
{
    return (a.x() == b.x() && (a.x() == m_box.left() || a.x() == m_box.right()))
           || (a.y() == b.y() && (a.y() == m_box.top() || a.y() == m_box.bottom()));
}
