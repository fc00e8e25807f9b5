#include "race/BufferedXmlWriter.h"

#include <QIODevice>

namespace {
constexpr qsizetype blockChars = 1 << 20;
}

BufferedXmlWriter::BufferedXmlWriter(QIODevice &device)
    : m_device(device)
    , m_xml(&m_buffer)
{
    m_buffer.reserve(blockChars + blockChars / 8);
    m_xml.setAutoFormatting(true);
    m_xml.setAutoFormattingIndent(1);
}

void BufferedXmlWriter::writeStartDocument()
{
    m_buffer += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

void BufferedXmlWriter::beginRawLines()
{
    m_xml.writeCharacters(QString());
}

void BufferedXmlWriter::appendRawLine(const char *markup, qsizetype length)
{
    m_buffer += QLatin1Char('\n');
    m_buffer += QLatin1String(markup, length);
}

void BufferedXmlWriter::endRawLines(int depth)
{
    m_buffer += QLatin1Char('\n');
    m_buffer += QString(depth, QLatin1Char(' '));
}

bool BufferedXmlWriter::flushWhenFull()
{
    return m_buffer.size() < blockChars ? !m_failed : flush();
}

std::optional<ExportResult> BufferedXmlWriter::handOn(const ExportProgress &progress, qint64 fixesWritten)
{
    if (!flushWhenFull())
        return ExportResult::Failed;
    if (progress && !progress(fixesWritten))
        return ExportResult::Cancelled;
    return std::nullopt;
}

bool BufferedXmlWriter::finish()
{
    m_xml.writeEndDocument();
    m_buffer += QLatin1Char('\n');
    return flush();
}

bool BufferedXmlWriter::flush()
{
    if (!m_failed && !m_buffer.isEmpty()) {
        const QByteArray bytes = m_buffer.toUtf8();
        m_failed = m_device.write(bytes) != bytes.size();
    }
    // The stream writer only ever appends to the buffer, so it may be emptied under it.
    m_buffer.resize(0);
    return !m_failed;
}
