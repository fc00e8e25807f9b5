#include "race/KmlWriter.h"

#include "race/BoatDescription.h"
#include "race/BufferedXmlWriter.h"
#include "race/DecimalText.h"
#include "race/UtcTimeText.h"

#include <cstring>

namespace {
constexpr qint64 progressEvery = 4096;
const QString kml = QLatin1String(KmlWriter::kmlNamespace);
const QString gx = QLatin1String(KmlWriter::gxNamespace);

char *put(char *out, const char *text)
{
    const size_t n = std::strlen(text);
    std::memcpy(out, text, n);
    return out + n;
}

// "    <when>…</when>", indented below its track.
qsizetype whenLine(char *line, const ExportedFix &fix)
{
    char *out = put(line, "    <when>");
    out = UtcTimeText::write(out, fix.time);
    return put(out, "</when>") - line;
}

// "    <gx:coord>longitude latitude 0</gx:coord>": longitude first, height 0.
qsizetype coordLine(char *line, const ExportedFix &fix)
{
    char *out = put(line, "    <gx:coord>");
    out = DecimalText::writeDegrees(out, fix.lng);
    *out++ = ' ';
    out = DecimalText::writeDegrees(out, fix.lat);
    return put(out, " 0</gx:coord>") - line;
}

void writeData(QXmlStreamWriter &xml, const QString &name, const QString &value)
{
    if (value.isEmpty())
        return;
    xml.writeStartElement(kml, QStringLiteral("Data"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeTextElement(kml, QStringLiteral("value"), value);
    xml.writeEndElement();
}

// Everything of a placemark before its geometry, in the order the schema fixes.
void writePlacemarkHeader(QXmlStreamWriter &xml, const ExportedBoat &b)
{
    xml.writeTextElement(kml, QStringLiteral("name"), b.name);
    const QString description = BoatDescription::text(b);
    if (!description.isEmpty())
        xml.writeTextElement(kml, QStringLiteral("description"), description);
    if (b.farbe.isValid()) {
        xml.writeStartElement(kml, QStringLiteral("Style"));
        xml.writeStartElement(kml, QStringLiteral("LineStyle"));
        xml.writeTextElement(kml, QStringLiteral("color"), KmlWriter::kmlColour(b.farbe));
        xml.writeTextElement(kml, QStringLiteral("width"), QStringLiteral("2"));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (!b.startnr.isEmpty() || !b.klasse.isEmpty()) {
        xml.writeStartElement(kml, QStringLiteral("ExtendedData"));
        writeData(xml, QStringLiteral("startnr"), b.startnr);
        writeData(xml, QStringLiteral("klasse"), b.klasse);
        xml.writeEndElement();
    }
}
} // namespace

QString KmlWriter::kmlColour(const QColor &colour)
{
    const QRgb rgba = colour.rgba();
    return QStringLiteral("%1%2%3%4")
        .arg(qAlpha(rgba), 2, 16, QLatin1Char('0'))
        .arg(qBlue(rgba), 2, 16, QLatin1Char('0'))
        .arg(qGreen(rgba), 2, 16, QLatin1Char('0'))
        .arg(qRed(rgba), 2, 16, QLatin1Char('0'));
}

ExportResult KmlWriter::write(QIODevice &device, const ExportedRace &race, const ExportProgress &progress)
{
    BufferedXmlWriter out(device);
    QXmlStreamWriter &xml = out.xml();
    out.writeStartDocument();
    xml.writeDefaultNamespace(kml);
    xml.writeNamespace(gx, QStringLiteral("gx"));
    xml.writeStartElement(kml, QStringLiteral("kml"));
    xml.writeStartElement(kml, QStringLiteral("Document"));
    if (!race.name.isEmpty())
        xml.writeTextElement(kml, QStringLiteral("name"), race.name);

    char line[128];
    qint64 written = 0;
    for (const ExportedBoat &b : race.boats) {
        xml.writeStartElement(kml, QStringLiteral("Placemark"));
        writePlacemarkHeader(xml, b);
        // A track lists all its times first, then the positions in the same order.
        xml.writeStartElement(gx, QStringLiteral("Track"));
        out.beginRawLines();
        for (size_t i = 0; i < b.fixes.size(); ++i) {
            out.appendRawLine(line, whenLine(line, b.fixes[i]));
            if (i % progressEvery == progressEvery - 1 && !out.flushWhenFull())
                return ExportResult::Failed;
        }
        for (const ExportedFix &fix : b.fixes) {
            out.appendRawLine(line, coordLine(line, fix));
            if (++written % progressEvery != 0)
                continue;
            if (const std::optional<ExportResult> end = out.handOn(progress, written))
                return *end;
        }
        out.endRawLines(3);
        xml.writeEndElement();
        xml.writeEndElement();
        if (const std::optional<ExportResult> end = out.handOn(progress, written))
            return *end;
    }
    xml.writeEndElement();
    xml.writeEndElement();
    return out.finish() ? ExportResult::Written : ExportResult::Failed;
}
