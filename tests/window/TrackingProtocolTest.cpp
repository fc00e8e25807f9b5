#include "tests/window/TrackingProtocolTest.h"

#include "window/TrackingProtocol.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstring>

namespace {
bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameBits(const TrackingProtocol::PositionLine &a, const TrackingProtocol::PositionLine &b)
{
    return sameDouble(a.lat, b.lat) && sameDouble(a.lng, b.lng) && a.time == b.time
        && sameDouble(a.course, b.course);
}
} // namespace

using namespace TrackingProtocol;
Q_DECLARE_METATYPE(TrackingProtocol::LineError)

void TrackingProtocolTest::positionLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<LineError>("error");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<int>("time");
    QTest::addColumn<double>("course");
    QTest::newRow("plain") << "42.986766;16.0203;1712743260;87.5;12.3" << LineError::None << 42.986766 << 16.0203
                           << 1712743260 << 87.5;
    QTest::newRow("south west") << "-36.8;-174.7;1000;0;0" << LineError::None << -36.8 << -174.7 << 1000 << 0.0;
    QTest::newRow("empty course and number") << "43;16;1000;;" << LineError::None << 43.0 << 16.0 << 1000 << 0.0;
    QTest::newRow("garbage course") << "43;16;1000;NNE;x" << LineError::None << 43.0 << 16.0 << 1000 << 0.0;
    QTest::newRow("blanks around numbers") << " 43.5 ; 16.25 ; 1000 ;90;0" << LineError::None << 43.5 << 16.25 << 1000
                                           << 90.0;
    QTest::newRow("edges of the world") << "90;-180;1;359.9;0" << LineError::None << 90.0 << -180.0 << 1 << 359.9;
    QTest::newRow("four fields") << "43;16;1000;0" << LineError::FieldCount << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("six fields") << "43;16;1000;0;0;0" << LineError::FieldCount << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("empty line") << "" << LineError::FieldCount << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("latitude not a number") << "abc;16;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("empty longitude") << "43;;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("blank latitude") << " ;16.1;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("blank longitude") << "43;\t ;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("blank course") << "43;16;1000; ;0" << LineError::None << 43.0 << 16.0 << 1000 << 0.0;
    QTest::newRow("decimal comma") << "43,5;16;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("latitude beyond the pole") << "90.5;16;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("longitude beyond 180") << "43;181;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("NaN") << "nan;16;1000;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("time zero") << "43;16;0;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("negative time") << "43;16;-5;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("fractional time") << "43;16;1000.5;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("time past 2038") << "43;16;99999999999;0;0" << LineError::BadValue << 0.0 << 0.0 << 0 << 0.0;
}

void TrackingProtocolTest::positionLines()
{
    QFETCH(QString, line);
    QFETCH(LineError, error);
    LineError found = LineError::None;
    const std::optional<PositionLine> p = parsePosition(line, &found);
    QCOMPARE(found, error);
    QCOMPARE(p.has_value(), error == LineError::None);
    // The bytes as they come from the server read the same.
    const QByteArray bytes = line.toUtf8();
    LineError foundInBytes = LineError::None;
    const std::optional<PositionLine> q = parsePosition(QByteArrayView(bytes), &foundInBytes);
    QCOMPARE(foundInBytes, error);
    QCOMPARE(q.has_value(), p.has_value());
    if (p)
        QVERIFY(sameBits(*p, *q));
    if (!p)
        return;
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(int, time);
    QFETCH(double, course);
    QCOMPARE(p->lat, lat);
    QCOMPARE(p->lng, lng);
    QCOMPARE(p->time, time);
    QCOMPARE(p->course, course);
}

void TrackingProtocolTest::boatLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<LineError>("error");
    QTest::addColumn<int>("firstTime");
    QTest::newRow("plain") << "J/80|101|x|7|Bora|Team Nord|Ana Kovač|y|1712743200|125" << LineError::None << 1712743200;
    QTest::newRow("empty fields") << "|101||||||||125" << LineError::None << 0;
    QTest::newRow("garbage first time") << "J/80|101|x|7|Bora|T|S|y|soon|125" << LineError::None << 0;
    QTest::newRow("nine fields") << "J/80|101|x|7|Bora|T|S|y|125" << LineError::FieldCount << 0;
    QTest::newRow("eleven fields") << "J/80|101|x|7|Bora|T|S|y|1|125|extra" << LineError::FieldCount << 0;
    QTest::newRow("id not a number") << "J/80|abc|x|7|Bora|T|S|y|1|125" << LineError::BadValue << 0;
    QTest::newRow("empty race id") << "J/80|101|x|7|Bora|T|S|y|1|" << LineError::BadValue << 0;
}

void TrackingProtocolTest::boatLines()
{
    QFETCH(QString, line);
    QFETCH(LineError, error);
    QFETCH(int, firstTime);
    LineError found = LineError::None;
    const std::optional<BoatLine> b = parseBoat(line, &found);
    QCOMPARE(found, error);
    QCOMPARE(b.has_value(), error == LineError::None);
    if (!b)
        return;
    QCOMPARE(b->id, 101);
    QCOMPARE(b->raceId, 125);
    QCOMPARE(b->firstTime, firstTime);
    if (QTest::currentDataTag() == QByteArray("plain")) {
        QCOMPARE(b->klasse, QStringLiteral("J/80"));
        QCOMPARE(b->startnr, QStringLiteral("7"));
        QCOMPARE(b->name, QStringLiteral("Bora"));
        QCOMPARE(b->team, QStringLiteral("Team Nord"));
        QCOMPARE(b->skipper, QStringLiteral("Ana Kovač"));
    }
}

void TrackingProtocolTest::bodiesSplitIntoLines()
{
    QCOMPARE(lines(QStringLiteral("a\nb")), (QStringList{"a", "b"}));
    QCOMPARE(lines(QStringLiteral("a\nb\n")), (QStringList{"a", "b"}));
    QCOMPARE(lines(QStringLiteral("a\r\nb\r\n")), (QStringList{"a", "b"}));
    QCOMPARE(lines(QStringLiteral("a\n\nb")), (QStringList{"a", "", "b"}));
    QCOMPARE(lines(QString()), QStringList());
    for (const char *body : {"a\nb", "a\r\nb\r\n", "a\n\nb", "", "\r", "\n\n", "a\r\r\nb"}) {
        QStringList fromBytes;
        for (const QByteArrayView line : lines(QByteArrayView(body)))
            fromBytes << QString::fromUtf8(line);
        QCOMPARE(fromBytes, lines(QString::fromUtf8(body)));
    }
}

void TrackingProtocolTest::paletteRepeatsAfterFifteen()
{
    QCOMPARE(paletteColour(0), QStringLiteral("#ff008a"));
    QCOMPARE(paletteColour(11), QStringLiteral("#C44c4c"));
    QCOMPARE(paletteColour(14), QStringLiteral("#b10034"));
    QCOMPARE(paletteColour(15), paletteColour(0));
    QSet<QString> distinct;
    for (int k = 0; k < paletteSize; ++k) {
        QVERIFY(QColor(paletteColour(k)).isValid());
        distinct.insert(paletteColour(k).toLower());
    }
    QCOMPARE(distinct.size(), 15);
}

void TrackingProtocolTest::arbitraryInputNeverYieldsAnInvalidRecord()
{
    // Lines made of the characters that matter to the parser, in random order.
    const QString alphabet = QStringLiteral("0123456789.-+e;|; \tnaNinf,x\r\u00a0\u0663Ee");
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) {
        QString line;
        const int length = random.bounded(40);
        for (int c = 0; c < length; ++c)
            line += alphabet.at(random.bounded(int(alphabet.size())));
        LineError error = LineError::None;
        const std::optional<PositionLine> p = parsePosition(line, &error);
        if (p) {
            QVERIFY2(p->lat >= -90 && p->lat <= 90 && p->lng >= -180 && p->lng <= 180 && p->time > 0,
                     qPrintable(line));
            QVERIFY(std::isfinite(p->course));
        }
        // Answers are parsed as bytes: same verdict, same record, bit for bit.
        const QByteArray bytes = line.toUtf8();
        LineError bytesError = LineError::None;
        const std::optional<PositionLine> q = parsePosition(QByteArrayView(bytes), &bytesError);
        QVERIFY2(bytesError == error && q.has_value() == p.has_value(), qPrintable(line));
        if (p)
            QVERIFY2(sameBits(*p, *q), qPrintable(line));
        parseBoat(line);
    }
}
