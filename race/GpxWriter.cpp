#include "race/GpxWriter.h"

#include "race/BoatDescription.h"
#include "race/BufferedXmlWriter.h"
#include "race/DecimalText.h"
#include "race/UtcTimeText.h"
#include "store/AppIdentity.h"

#include <cstring>

namespace {
constexpr qint64 progressEvery = 4096;
const QString gpx = QLatin1String(GpxWriter::gpxNamespace);
const QString boat = QLatin1String(GpxWriter::boatNamespace);
const QString xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

// GPX longitudes end before 180 degrees; 180 is the same meridian as -180.
double gpxLongitude(double lng)
{
    return lng >= 180.0 ? lng - 360.0 : lng;
}

char *put(char *out, const char *text)
{
    const size_t n = std::strlen(text);
    std::memcpy(out, text, n);
    return out + n;
}

// "   <trkpt lat="…" lon="…"><time>…</time></trkpt>", indented below its segment.
qsizetype pointLine(char *line, const ExportedFix &fix)
{
    char *out = put(line, "   <trkpt lat=\"");
    out = DecimalText::writeDegrees(out, fix.lat);
    out = put(out, "\" lon=\"");
    out = DecimalText::writeDegrees(out, gpxLongitude(fix.lng));
    out = put(out, "\"><time>");
    out = UtcTimeText::write(out, fix.time);
    out = put(out, "</time></trkpt>");
    return out - line;
}

void writeText(QXmlStreamWriter &xml, const QString &ns, const QString &name, const QString &text)
{
    if (!text.isEmpty())
        xml.writeTextElement(ns, name, text);
}

void writeBoatHeader(QXmlStreamWriter &xml, const ExportedBoat &b)
{
    // The order of a track's elements is fixed by the schema: name, cmt, desc, src, link,
    // number, type, extensions, trkseg.
    writeText(xml, gpx, QStringLiteral("name"), b.name);
    writeText(xml, gpx, QStringLiteral("desc"), BoatDescription::text(b));
    writeText(xml, gpx, QStringLiteral("type"), b.klasse);
    if (b.startnr.isEmpty() && b.klasse.isEmpty() && !b.farbe.isValid())
        return;
    xml.writeStartElement(gpx, QStringLiteral("extensions"));
    writeText(xml, boat, QStringLiteral("startnr"), b.startnr);
    writeText(xml, boat, QStringLiteral("klasse"), b.klasse);
    if (b.farbe.isValid())
        xml.writeTextElement(boat, QStringLiteral("farbe"), b.farbe.name());
    xml.writeEndElement();
}
} // namespace

ExportResult GpxWriter::write(QIODevice &device, const ExportedRace &race, const ExportProgress &progress)
{
    BufferedXmlWriter out(device);
    QXmlStreamWriter &xml = out.xml();
    out.writeStartDocument();
    xml.writeDefaultNamespace(gpx);
    xml.writeNamespace(boat, QStringLiteral("brisavela"));
    xml.writeNamespace(xsi, QStringLiteral("xsi"));
    xml.writeStartElement(gpx, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("%1 %2").arg(QLatin1String(AppIdentity::applicationName),
                                                                              QLatin1String(AppIdentity::applicationVersion)));
    xml.writeAttribute(xsi, QStringLiteral("schemaLocation"),
                       gpx + QStringLiteral(" http://www.topografix.com/GPX/1/1/gpx.xsd"));

    xml.writeStartElement(gpx, QStringLiteral("metadata"));
    writeText(xml, gpx, QStringLiteral("name"), race.name);
    xml.writeTextElement(gpx, QStringLiteral("time"), UtcTimeText::format(race.createdAt));
    xml.writeEndElement();

    char line[128];
    qint64 written = 0;
    for (const ExportedBoat &b : race.boats) {
        xml.writeStartElement(gpx, QStringLiteral("trk"));
        writeBoatHeader(xml, b);
        if (!b.fixes.empty()) {
            xml.writeStartElement(gpx, QStringLiteral("trkseg"));
            out.beginRawLines();
            for (const ExportedFix &fix : b.fixes) {
                out.appendRawLine(line, pointLine(line, fix));
                if (++written % progressEvery != 0)
                    continue;
                if (const std::optional<ExportResult> end = out.handOn(progress, written))
                    return *end;
            }
            out.endRawLines(2);
            xml.writeEndElement();
        }
        xml.writeEndElement();
        if (const std::optional<ExportResult> end = out.handOn(progress, written))
            return *end;
    }
    xml.writeEndElement();
    return out.finish() ? ExportResult::Written : ExportResult::Failed;
}
