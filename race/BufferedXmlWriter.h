#pragma once

#include "race/ExportedRace.h"

#include <QString>
#include <QXmlStreamWriter>

#include <optional>

class QIODevice;

// An XML stream writer that collects its text and hands it to the device in large blocks,
// with a fast lane for the lines of a track's positions.
//
// The stream writer writes names and texts, escaped, and keeps the document's structure.
// A large race has a million positions, though, and the stream writer takes about a
// microsecond for each element: more than the whole export may take. A position's line
// holds only fixed names, numbers and a time, which never need escaping, so such lines are
// put together in a character buffer and appended as they are.
class BufferedXmlWriter
{
public:
    explicit BufferedXmlWriter(QIODevice &device);

    QXmlStreamWriter &xml() { return m_xml; }
    // The XML declaration (UTF-8), which a stream writer into a string leaves out.
    void writeStartDocument();

    // Closes the start tag the stream writer has open, so raw lines may follow.
    void beginRawLines();
    // Appends one line of Latin-1 markup that needs no escaping, on a new line.
    void appendRawLine(const char *markup, qsizetype length);
    // Puts the end tag that follows raw lines on a line of its own, indented to depth.
    void endRawLines(int depth);

    // Hands the collected text on once it has grown large; false when the device failed.
    bool flushWhenFull();
    // The same, then tells progress how many positions are written: what ends the export
    // there (the device failed, or the user cancelled), nothing when it goes on.
    std::optional<ExportResult> handOn(const ExportProgress &progress, qint64 fixesWritten);
    // Ends the document and hands on the rest; false when the device failed now or before.
    bool finish();

private:
    bool flush();

    QIODevice &m_device;
    QString m_buffer;
    QXmlStreamWriter m_xml;
    bool m_failed = false;
};
