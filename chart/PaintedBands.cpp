#include "chart/PaintedBands.h"

#include <QPainter>

#include <cstdint>
#include <cstring>

namespace {
// First pixel in [from, to) that is not fully transparent, or to. Eight pixels are looked at
// together, as transparent ones are all zero in a premultiplied picture.
int firstPainted(const quint32 *line, int from, int to)
{
    int x = from;
    for (; x + 8 <= to; x += 8) {
        quint64 a, b, c, d;
        std::memcpy(&a, line + x, 8);
        std::memcpy(&b, line + x + 2, 8);
        std::memcpy(&c, line + x + 4, 8);
        std::memcpy(&d, line + x + 6, 8);
        if (a | b | c | d)
            break;
    }
    for (; x < to; ++x) {
        if (line[x])
            return x;
    }
    return to;
}

// Last pixel in (above, to) that is painted, or above.
int lastPainted(const quint32 *line, int above, int to)
{
    for (int x = to - 1; x > above; --x) {
        if (line[x])
            return x;
    }
    return above;
}
} // namespace

void PaintedBands::reset(const QImage &image)
{
    m_width = image.width();
    m_height = image.height();
    m_bands.assign(size_t((m_height + bandRows - 1) / bandRows), Band{m_width, -1});
}

void PaintedBands::scan(const QImage &image)
{
    Q_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
    if (image.width() != m_width || image.height() != m_height)
        reset(image);
    for (int y = 0; y < m_height; ++y) {
        Band &band = m_bands[size_t(y / bandRows)];
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        const int left = firstPainted(line, 0, band.left);
        // Nothing in the row, and nothing known in its band yet: the row was looked at whole.
        if (left >= m_width)
            continue;
        band.left = left;
        band.right = lastPainted(line, std::max(band.right, left), m_width);
    }
}

std::vector<QRect> PaintedBands::rects() const
{
    std::vector<QRect> result;
    for (size_t k = 0; k < m_bands.size(); ++k) {
        const Band &band = m_bands[k];
        if (band.right < band.left)
            continue;
        const int top = int(k) * bandRows;
        result.push_back(QRect(band.left, top, band.right - band.left + 1, std::min(bandRows, m_height - top)));
    }
    return result;
}

void PaintedBands::drawOver(QPainter &painter, const QImage &image) const
{
    const QTransform &t = painter.worldTransform();
    const bool wholeShift = t.type() <= QTransform::TxTranslate && t.dx() == qRound(t.dx()) && t.dy() == qRound(t.dy());
    if (image.devicePixelRatio() != 1.0 || !wholeShift || image.width() != m_width || image.height() != m_height) {
        painter.drawImage(QPoint(0, 0), image);
        return;
    }
    for (const QRect &r : rects())
        painter.drawImage(r.topLeft(), image, r);
}
