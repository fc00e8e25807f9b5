#include "tests/export/TrackFileTest.h"

#include "race/GpxWriter.h"
#include "race/KmlWriter.h"
#include "race/UtcTimeText.h"
#include "tests/support/ExternalTool.h"
#include "tests/support/TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

#include <limits>

namespace {
constexpr qint64 start = 1712743200; // 2024-04-10 10:00:00 UTC

QString schemaPath()
{
    return QStringLiteral(BRISAVELA_TEST_DIR "/gpx-1.1.xsd");
}

QString utc(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t, Qt::UTC).toString(Qt::ISODate);
}

// Names that need escaping, letters beyond ASCII, a boat without number, class or colour
// that sails over the 180th meridian, and a lone position on a leap day.
ExportedRace sampleRace()
{
    ExportedRace race;
    race.name = QStringLiteral("Regatta <Süd> & \"Nord\"");
    race.createdAt = start + 7200;
    ExportedBoat bora;
    bora.name = QStringLiteral("Bora & Söhne");
    bora.startnr = QStringLiteral("GER 10");
    bora.klasse = QStringLiteral("J/80");
    bora.skipper = QStringLiteral("Jörg Ärger");
    bora.team = QStringLiteral("Team <1>");
    bora.farbe = QColor(QStringLiteral("#ff008a"));
    for (int i = 0; i < 5; ++i)
        bora.fixes.push_back({42.70 + 0.001 * i, 16.10 + 0.002 * i, start + 60 * i});
    ExportedBoat jugo;
    jugo.name = QStringLiteral("Jugo");
    jugo.fixes = {{-16.5, 179.9995, start}, {-16.5001, 180.0, start + 30}};
    ExportedBoat lone;
    lone.name = QStringLiteral("Maestral");
    lone.klasse = QStringLiteral("Melges 24");
    lone.farbe = QColor(QStringLiteral("#00ffcc"));
    lone.fixes = {{43.0, -0.5, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch()}};
    race.boats = {bora, jugo, lone};
    return race;
}

template <typename Writer>
QString writeFile(const QString &name, const ExportedRace &race)
{
    const QString path = TestEnvironment::freshFolder(QStringLiteral("files")) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || Writer::write(file, race) != ExportResult::Written)
        return QString();
    return path;
}

struct GpxTrack
{
    QString name, desc, type, startnr, klasse, farbe;
    QList<ExportedFix> fixes;
    QStringList times;
};

QList<GpxTrack> readGpx(const QString &path, QString *raceName)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QList<GpxTrack> tracks;
    const QString gpx = QLatin1String(GpxWriter::gpxNamespace);
    const QString boat = QLatin1String(GpxWriter::boatNamespace);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (xml.namespaceUri() == gpx && name == QLatin1String("trk")) {
            tracks.append(GpxTrack());
        } else if (xml.namespaceUri() == gpx && name == QLatin1String("trkpt")) {
            tracks.last().fixes.append({xml.attributes().value(QLatin1String("lat")).toDouble(),
                                        xml.attributes().value(QLatin1String("lon")).toDouble(), 0});
        } else if (xml.namespaceUri() == gpx && name == QLatin1String("time") && !tracks.isEmpty()) {
            const QString text = xml.readElementText();
            tracks.last().times << text;
            tracks.last().fixes.last().time = QDateTime::fromString(text, Qt::ISODate).toSecsSinceEpoch();
        } else if (xml.namespaceUri() == gpx && name == QLatin1String("name")) {
            (tracks.isEmpty() ? *raceName : tracks.last().name) = xml.readElementText();
        } else if (!tracks.isEmpty()) {
            GpxTrack &t = tracks.last();
            QString *field = nullptr;
            if (xml.namespaceUri() == gpx && name == QLatin1String("desc"))
                field = &t.desc;
            else if (xml.namespaceUri() == gpx && name == QLatin1String("type"))
                field = &t.type;
            else if (xml.namespaceUri() == boat && name == QLatin1String("startnr"))
                field = &t.startnr;
            else if (xml.namespaceUri() == boat && name == QLatin1String("klasse"))
                field = &t.klasse;
            else if (xml.namespaceUri() == boat && name == QLatin1String("farbe"))
                field = &t.farbe;
            if (field)
                *field = xml.readElementText();
        }
    }
    if (xml.hasError())
        qWarning() << "readGpx:" << xml.errorString();
    return tracks;
}

ExternalTool validate(const QString &path)
{
    return ExternalTool::run(QStringLiteral("xmllint"),
                             {QStringLiteral("--noout"), QStringLiteral("--schema"), schemaPath(), path});
}

// A device that takes nothing: every write fails, as on a full disk.
class RefusingDevice : public QIODevice
{
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};
} // namespace

void TrackFileTest::gpxFileIsValidGpx11()
{
    const QString path = writeFile<GpxWriter>(QStringLiteral("race.gpx"), sampleRace());
    QVERIFY(!path.isEmpty());
    const ExternalTool check = validate(path);
    QVERIFY2(check.succeeded(), qPrintable(check.output));

    // The check has teeth: what GPX forbids fails it, so the schema file is really applied.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString valid = QString::fromUtf8(file.readAll());
    const QList<std::pair<QString, QString>> breaks = {
        {QStringLiteral("lon=\"-180.0000000\""), QStringLiteral("lon=\"180.0000000\"")},
        {QStringLiteral("<desc>"), QStringLiteral("<type>x</type><desc>")},
        {QStringLiteral("<time>2024-04-10T10:00:00Z</time>"), QStringLiteral("<time>10.04.2024 10:00</time>")},
    };
    for (const auto &[from, to] : breaks) {
        QVERIFY2(valid.contains(from), qPrintable(from));
        const QString broken = TestEnvironment::freshFolder(QStringLiteral("broken")) + QStringLiteral("/broken.gpx");
        QFile out(broken);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QString(valid).replace(from, to).toUtf8());
        out.close();
        QVERIFY2(!validate(broken).succeeded(), qPrintable(to));
    }
}

void TrackFileTest::gpxCarriesBoatsAndUtcTimes()
{
    const ExportedRace race = sampleRace();
    const QString path = writeFile<GpxWriter>(QStringLiteral("race.gpx"), race);
    QVERIFY(!path.isEmpty());
    QString raceName;
    const QList<GpxTrack> tracks = readGpx(path, &raceName);
    QCOMPARE(raceName, race.name);
    QCOMPARE(tracks.size(), 3);

    const GpxTrack &bora = tracks[0];
    QCOMPARE(bora.name, QStringLiteral("Bora & Söhne"));
    QCOMPARE(bora.desc, QStringLiteral("Nr. GER 10, Klasse J/80, Skipper Jörg Ärger, Team Team <1>"));
    QCOMPARE(bora.type, QStringLiteral("J/80"));
    QCOMPARE(bora.startnr, QStringLiteral("GER 10"));
    QCOMPARE(bora.klasse, QStringLiteral("J/80"));
    QCOMPARE(bora.farbe, QStringLiteral("#ff008a"));
    QCOMPARE(bora.times.first(), QStringLiteral("2024-04-10T10:00:00Z"));
    for (int i = 0; i < 5; ++i) {
        const ExportedFix &want = race.boats[0].fixes[size_t(i)];
        QCOMPARE(bora.fixes[i].time, want.time);
        QVERIFY(qAbs(bora.fixes[i].lat - want.lat) < 1e-7 && qAbs(bora.fixes[i].lng - want.lng) < 1e-7);
    }

    // Nothing made up for what a boat does not have; 180 degrees east is written as 180 west.
    const GpxTrack &jugo = tracks[1];
    QVERIFY(jugo.desc.isEmpty() && jugo.type.isEmpty() && jugo.startnr.isEmpty() && jugo.farbe.isEmpty());
    QCOMPARE(jugo.fixes.size(), 2);
    QCOMPARE(jugo.fixes[1].lng, -180.0);
    QCOMPARE(tracks[2].times, QStringList{QStringLiteral("2024-02-29T23:59:59Z")});
    QCOMPARE(tracks[2].desc, QStringLiteral("Klasse Melges 24"));
}

void TrackFileTest::kmlOpensInGdalWithColoursAndTimes()
{
    const ExportedRace race = sampleRace();
    const QString path = writeFile<KmlWriter>(QStringLiteral("race.kml"), race);
    QVERIFY(!path.isEmpty());
    const ExternalTool info = ExternalTool::run(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-al"), path});
    QVERIFY2(info.succeeded(), qPrintable(info.output));
    // The reader that understands gx:Track; the plain KML reader would skip the tracks.
    QVERIFY2(info.output.contains(QStringLiteral("using driver `LIBKML' successful")), qPrintable(info.output));
    QVERIFY(info.output.contains(QStringLiteral("Feature Count: 3")));

    const QStringList features = info.output.split(QStringLiteral("OGRFeature(")).mid(1);
    QCOMPARE(features.size(), 3);
    auto field = [](const QString &feature, const QString &name) {
        const QRegularExpression re(QStringLiteral("\\n  %1 \\(\\w+\\) = ([^\\n]*)").arg(QRegularExpression::escape(name)));
        return re.match(feature).captured(1);
    };
    auto pointCount = [](const QString &feature) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("LINESTRING Z \\(([^)]*)\\)")).match(feature);
        return m.hasMatch() ? int(m.captured(1).count(QLatin1Char(',')) + 1) : 0;
    };
    QCOMPARE(field(features[0], QStringLiteral("Name")), QStringLiteral("Bora & Söhne"));
    QCOMPARE(field(features[0], QStringLiteral("description")),
             QStringLiteral("Nr. GER 10, Klasse J/80, Skipper Jörg Ärger, Team Team <1>"));
    QCOMPARE(field(features[0], QStringLiteral("startnr")), QStringLiteral("GER 10"));
    QCOMPARE(field(features[0], QStringLiteral("klasse")), QStringLiteral("J/80"));
    QCOMPARE(field(features[0], QStringLiteral("begin")), QStringLiteral("2024/04/10 10:00:00+00"));
    QCOMPARE(field(features[0], QStringLiteral("end")), QStringLiteral("2024/04/10 10:04:00+00"));
    QCOMPARE(pointCount(features[0]), 5);
    QVERIFY2(features[0].contains(QStringLiteral("PEN(c:#FF008AFF")), qPrintable(features[0]));
    QVERIFY(features[0].contains(QStringLiteral("LINESTRING Z (16.1 42.7 0,16.102 42.701 0")));
    QCOMPARE(field(features[1], QStringLiteral("Name")), QStringLiteral("Jugo"));
    QVERIFY(!features[1].contains(QStringLiteral("PEN(")));
    QCOMPARE(pointCount(features[1]), 2);
    QVERIFY2(features[2].contains(QStringLiteral("PEN(c:#00FFCCFF")), qPrintable(features[2]));
    QCOMPARE(field(features[2], QStringLiteral("begin")), QStringLiteral("2024/02/29 23:59:59+00"));
    QCOMPARE(KmlWriter::kmlColour(QColor(0x12, 0x34, 0x56, 0x80)), QStringLiteral("80563412"));
}

void TrackFileTest::utcTimesFollowTheCalendar()
{
    // Every 32-bit time a position can carry: the ends, the days around leap days and
    // centuries, and a spread of others.
    QList<qint64> times = {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), 0, -1, 86399,
                           86400, 951782399, 951782400, 951868800, 1709251199, 1709251200, 4107542400 - 86400};
    QRandomGenerator random(17);
    for (int i = 0; i < 20000; ++i)
        times << qint64(qint32(random.generate()));
    for (qint64 t : times)
        QCOMPARE(UtcTimeText::format(t), utc(t));
}

void TrackFileTest::failingDeviceAndCancelStopTheWriters()
{
    const ExportedRace race = sampleRace();
    RefusingDevice refusing;
    QVERIFY(refusing.open(QIODevice::WriteOnly));
    QCOMPARE(GpxWriter::write(refusing, race), ExportResult::Failed);
    QCOMPARE(KmlWriter::write(refusing, race), ExportResult::Failed);

    // Stopped after its first report, a writer says so and reports no further.
    ExportedRace large = race;
    large.boats[0].fixes.clear();
    for (int i = 0; i < 20000; ++i)
        large.boats[0].fixes.push_back({42.0, 16.0, start + i});
    for (int format = 0; format < 2; ++format) {
        QList<qint64> reports;
        const ExportProgress stopAtOnce = [&](qint64 written) {
            reports << written;
            return false;
        };
        QFile file(TestEnvironment::freshFolder(QStringLiteral("cancel")) + QStringLiteral("/race"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const ExportResult result = format == 0 ? GpxWriter::write(file, large, stopAtOnce)
                                                : KmlWriter::write(file, large, stopAtOnce);
        QCOMPARE(result, ExportResult::Cancelled);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first() > 0 && reports.first() < 20000);
    }
}
