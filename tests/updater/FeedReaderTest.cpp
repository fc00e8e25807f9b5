#include "tests/updater/FeedReaderTest.h"

#include "tests/support/FeedServerFixture.h"
#include "updater/FeedReader.h"

#include <QTest>

namespace {
QString enclosure(const QString &attributes)
{
    return QStringLiteral("<enclosure url=\" http://example.invalid/setup.run \" %1/>").arg(attributes);
}

QString item(const QString &title, const QString &attributes)
{
    return QStringLiteral("<item><title>%1</title><link>http://example.invalid/notes</link>%2</item>")
        .arg(title, enclosure(attributes));
}

FeedReader::Outcome parse(FeedReader &reader, const QStringList &items)
{
    reader.clear();
    reader.addData(FeedServerFixture::feed(items));
    return reader.parse();
}

const QString onLinux = QStringLiteral("brisavela:platform=\"Q_OS_LINUX\" ");
} // namespace

void FeedReaderTest::readsTheItemFields()
{
    FeedReader reader;
    const QString xml = QStringLiteral(
        "<item>\n  <title>  Brisavela </title><title>2.25</title>\n"
        "  <link> http://example.invalid/a </link>\n"
        "  <sparkle:releaseNotesLink> http://example.invalid/notes.html </sparkle:releaseNotesLink>\n"
        "  <pubDate> Mon, 07 Dec 2026 </pubDate>\n"
        "  <enclosure url=\"http://example.invalid/s.run\" brisavela:platform=\" q_os_linux \" brisavela:version=\" 2.25 \" "
        "brisavela:programType=\"FULL\" length=\"1234\" type=\" application/x-sh \" sparkle:edSignature=\"c2ln\"/>\n"
        "</item>");
    QCOMPARE(parse(reader, {xml}), FeedReader::Outcome::Decided);
    const FeedItem &i = reader.item();
    QCOMPARE(i.title, QStringLiteral("Brisavela2.25"));
    QCOMPARE(i.link, QStringLiteral("http://example.invalid/a"));
    QCOMPARE(i.releaseNotesLink, QStringLiteral("http://example.invalid/notes.html"));
    QCOMPARE(i.pubDate, QStringLiteral("Mon, 07 Dec 2026"));
    QCOMPARE(i.url, QStringLiteral("http://example.invalid/s.run"));
    QCOMPARE(i.version, QStringLiteral("2.25"));
    QCOMPARE(i.platform, QStringLiteral("q_os_linux"));
    QCOMPARE(i.programType, QStringLiteral("FULL"));
    QCOMPARE(i.length, 1234);
    QCOMPARE(i.type, QStringLiteral("application/x-sh"));
    QCOMPARE(i.signature, QStringLiteral("c2ln"));

    // A length that is no number counts as 0; the channel's own title is not the item's.
    QCOMPARE(parse(reader, {item(QStringLiteral("x"), onLinux + QStringLiteral("brisavela:programType=\"FULL\" length=\"viel\""))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().length, 0);
    QCOMPARE(reader.item().title, QStringLiteral("x"));
}

void FeedReaderTest::platformDecidesWhatAnEnclosureContributes()
{
    FeedReader reader;
    // No platform attribute: the enclosure contributes nothing and the item is skipped.
    QCOMPARE(parse(reader, {item(QStringLiteral("a"), QStringLiteral("brisavela:programType=\"FULL\""))}),
             FeedReader::Outcome::Undecided);
    // Another platform: only the platform is taken, so the program type stays empty.
    QCOMPARE(parse(reader, {item(QStringLiteral("b"), QStringLiteral("brisavela:platform=\"Q_OS_WIN32\" "
                                                                     "brisavela:programType=\"FULL\""))}),
             FeedReader::Outcome::Undecided);
    QCOMPARE(reader.item().platform, QStringLiteral("Q_OS_WIN32"));
    // A matching platform with blanks and another case is accepted.
    QCOMPARE(parse(reader, {item(QStringLiteral("c"), QStringLiteral("brisavela:platform=\"  Q_os_Linux \" "
                                                                     "brisavela:programType=\"FULL\""))}),
             FeedReader::Outcome::Decided);
}

void FeedReaderTest::programTypeAndMinimumVersionJudgeItems()
{
    FeedReader reader;
    // Program type in the wrong case: rejected, the next item is looked at.
    QCOMPARE(parse(reader, {item(QStringLiteral("klein"), onLinux + QStringLiteral("brisavela:programType=\"full\"")),
                            item(QStringLiteral("gross"), onLinux + QStringLiteral("brisavela:programType=\"FULL\""))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().title, QStringLiteral("gross"));
    // Neither a minimum version nor a program type: skipped.
    QCOMPARE(parse(reader, {item(QStringLiteral("leer"), onLinux)}), FeedReader::Outcome::Undecided);
    // A minimum version the running one meets and no program type: taken.
    QCOMPARE(parse(reader, {item(QStringLiteral("min"), onLinux + QStringLiteral("brisavela:minPrevVersion=\"2.0\""))}),
             FeedReader::Outcome::Decided);
    // A minimum version above the running one: skipped whatever the type.
    QCOMPARE(parse(reader, {item(QStringLiteral("hoch"), onLinux + QStringLiteral("brisavela:minPrevVersion=\"3.0\" "
                                                                               "brisavela:programType=\"FULL\""))}),
             FeedReader::Outcome::Undecided);
    // A minimum version met but the wrong type: rejected.
    QCOMPARE(parse(reader, {item(QStringLiteral("typ"), onLinux + QStringLiteral("brisavela:minPrevVersion=\"2.0\" "
                                                                              "brisavela:programType=\"LITE\""))}),
             FeedReader::Outcome::Undecided);
}

void FeedReaderTest::firstFittingItemEndsTheParse()
{
    FeedReader reader;
    const QString full = onLinux + QStringLiteral("brisavela:programType=\"FULL\" sparkle:version=\"%1\"");
    QCOMPARE(parse(reader, {item(QStringLiteral("old"), full.arg(QStringLiteral("2.0"))),
                            item(QStringLiteral("new"), full.arg(QStringLiteral("9.0")))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().version, QStringLiteral("2.0"));
    // Fields of one item do not leak into the next.
    QCOMPARE(parse(reader, {item(QStringLiteral("a"), QStringLiteral("brisavela:programType=\"FULL\" brisavela:platform=\"X\"")),
                            QStringLiteral("<item><title>b</title></item>")}),
             FeedReader::Outcome::Undecided);
}

void FeedReaderTest::sparkleVersionWinsInEitherOrder()
{
    FeedReader reader;
    const QString type = onLinux + QStringLiteral("brisavela:programType=\"FULL\" ");
    QCOMPARE(parse(reader, {item(QStringLiteral("a"), type + QStringLiteral("sparkle:version=\"3.0\" brisavela:version=\"2.0\""))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().version, QStringLiteral("3.0"));
    QCOMPARE(parse(reader, {item(QStringLiteral("b"), type + QStringLiteral("brisavela:version=\"2.0\" sparkle:version=\"3.0\""))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().version, QStringLiteral("3.0"));
    QCOMPARE(parse(reader, {item(QStringLiteral("c"), type + QStringLiteral("brisavela:version=\"2.5\""))}),
             FeedReader::Outcome::Decided);
    QCOMPARE(reader.item().version, QStringLiteral("2.5"));
}

void FeedReaderTest::incompleteAndMalformedDocuments()
{
    FeedReader reader;
    const QByteArray whole = FeedServerFixture::feed({item(QStringLiteral("a"), onLinux)});
    reader.addData(whole.left(whole.size() / 2));
    QCOMPARE(reader.parse(), FeedReader::Outcome::Undecided);

    reader.clear();
    reader.addData("<?xml version=\"1.0\"?>\n<rss>\n<channel>\n<item></channel>\n</rss>\n");
    QCOMPARE(reader.parse(), FeedReader::Outcome::Failed);
    QCOMPARE(reader.errorLine(), 4);
    QVERIFY(!reader.errorText().isEmpty());

    // Both prefixes must be declared.
    reader.clear();
    reader.addData("<rss><channel><item><enclosure sparkle:version=\"1\"/></item></channel></rss>");
    QCOMPARE(reader.parse(), FeedReader::Outcome::Failed);
}

void FeedReaderTest::dataArrivingInPieces()
{
    FeedReader reader;
    const QByteArray whole = FeedServerFixture::feed(
        {item(QStringLiteral("StückFürStück"), onLinux + QStringLiteral("brisavela:programType=\"FULL\""))});
    for (qsizetype i = 0; i < whole.size(); i += 7) {
        reader.addData(whole.mid(i, 7));
        const FeedReader::Outcome outcome = reader.parse();
        if (outcome == FeedReader::Outcome::Decided) {
            QCOMPARE(reader.item().title, QStringLiteral("StückFürStück"));
            return;
        }
        QCOMPARE(outcome, FeedReader::Outcome::Undecided);
    }
    QFAIL("the item was never decided");
}
