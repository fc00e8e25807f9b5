#include "tests/updater/FeedReaderTest.h"

#include "tests/support/FeedServerFixture.h"
#include "updater/FeedReader.h"

#include <QRandomGenerator>
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

namespace {
struct Verdict
{
    FeedReader::Outcome outcome = FeedReader::Outcome::Undecided;
    QString title;
    QString version;
    qint64 line = 0;
    QString error;

    bool operator==(const Verdict &o) const
    {
        return outcome == o.outcome && title == o.title && version == o.version && line == o.line && error == o.error;
    }
};

QString describe(const Verdict &v)
{
    const char *names[] = {"Undecided", "Decided", "Failed"};
    return QStringLiteral("%1 title=%2 version=%3 line=%4 error=%5")
        .arg(QLatin1String(names[int(v.outcome)]), v.title, v.version)
        .arg(v.line)
        .arg(v.error);
}

Verdict verdictOf(FeedReader &reader, FeedReader::Outcome outcome)
{
    Verdict v;
    v.outcome = outcome;
    if (outcome == FeedReader::Outcome::Decided) {
        v.title = reader.item().title;
        v.version = reader.item().version;
    } else if (outcome == FeedReader::Outcome::Failed) {
        v.line = reader.errorLine();
        v.error = reader.errorText();
    }
    return v;
}

Verdict readWhole(const QByteArray &document)
{
    FeedReader reader;
    reader.addData(document);
    return verdictOf(reader, reader.parse());
}

// Parses after every piece, as the updater would if it parsed while the feed arrives.
Verdict readInPieces(const QByteArray &document, const QList<qsizetype> &cuts)
{
    FeedReader reader;
    qsizetype from = 0;
    FeedReader::Outcome outcome = FeedReader::Outcome::Undecided;
    for (qsizetype i = 0; i <= cuts.size() && outcome == FeedReader::Outcome::Undecided; ++i) {
        const qsizetype to = i < cuts.size() ? cuts[i] : document.size();
        reader.addData(document.mid(from, to - from));
        outcome = reader.parse();
        from = to;
    }
    return verdictOf(reader, outcome);
}

QList<qsizetype> everyNth(qsizetype size, qsizetype n)
{
    QList<qsizetype> cuts;
    for (qsizetype at = n; at < size; at += n)
        cuts << at;
    return cuts;
}

const QByteArray fullType = "brisavela:platform=\"Q_OS_LINUX\" brisavela:programType=\"FULL\" sparkle:version=\"2.25\"";

QByteArray document(const QByteArray &prolog, const QByteArray &channelTitle, const QByteArray &itemTitle,
                    const QByteArray &tail = "</channel>\n</rss>\n")
{
    return prolog + "<rss xmlns:sparkle=\"urn:a\" xmlns:brisavela=\"urn:b\">\n<channel>\n<title>" + channelTitle
           + "</title>\n<item>\n<title>" + itemTitle + "</title>\n<link>http://example.invalid/n</link>\n"
           + "<enclosure url=\"http://example.invalid/s.run\" " + fullType + "/>\n</item>\n" + tail;
}

const QByteArray utf8Prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

// Documents that arrive whole in a test but in pieces of any size over a network.
QList<QPair<const char *, QByteArray>> documents()
{
    QByteArray utf16("\xff\xfe");
    const QString text = QString::fromUtf8(document("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n", "K", "Stück"));
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray crlf = document(utf8Prolog, "Kanal", "Stück\xc3\xbc");
    crlf.replace("\n", "\r\n");
    const QByteArray valid = document(utf8Prolog, "Kanal", "St\xc3\xbc" "ckF\xc3\xbcrSt\xc3\xbc" "ck \xe2\x82\xac");
    const QByteArray sharpS = document(utf8Prolog, "Gr\xc3\xb6\xc3\x9f" "er", "x");
    return {
        {"valid", valid},
        {"valid with CRLF", crlf},
        {"valid without declaration", document("", "Kanal", "x")},
        {"no fitting item", QByteArray(valid).replace("FULL", "LITE")},
        {"truncated", valid.left(valid.size() - 60)},
        {"truncated inside a character", sharpS.left(sharpS.indexOf("\x9f"))},
        {"malformed", QByteArray(valid).replace("</channel>", "</chanel>")},
        {"bad UTF-8 before the item", document(utf8Prolog, "Kan\xff\xfe al", "x")},
        {"bad UTF-8 after the item", document(utf8Prolog, "Kanal", "x", "</channel>\n<!-- \xc3\x28 -->\n</rss>\n")},
        {"truncated sequence before ASCII", document(utf8Prolog, "Kan\xe2\x82(", "x")},
        {"Latin-1 declared", document("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n", "K", "Gr\xf6\xdf" "er")},
        {"Latin-1 undeclared", document("<?xml version=\"1.0\"?>\n", "Gr\xf6\xdf" "er", "x")},
        {"unsupported encoding", document("<?xml version=\"1.0\" encoding=\"x-bogus\"?>\n", "K", "x")},
        {"UTF-16 with byte-order mark", utf16},
        {"UTF-8 byte-order mark", "\xef\xbb\xbf" + valid},
        // Split between pieces, the XML reader alone misses the sequence and decides the item.
        {"end of a CDATA section in text", document(utf8Prolog, "Kanal ]]> zu", "x")},
        // The encoding named only after the first kilobyte is not waited for, however the
        // bytes come.
        {"declaration longer than a kilobyte",
         document("<?xml version=\"1.0\"" + QByteArray(1100, ' ') + "encoding=\"ISO-8859-1\"?>\n", "K",
                  "Gr\xf6\xdf" "er")},
    };
}
} // namespace

void FeedReaderTest::encodingErrorsAreReportedWhereTheyOccur()
{
    const auto docs = documents();
    auto doc = [&docs](const char *name) {
        for (const auto &d : docs) {
            if (qstrcmp(d.first, name) == 0)
                return d.second;
        }
        return QByteArray();
    };
    const QString badEncoding = QStringLiteral("Encountered incorrectly encoded content.");
    Verdict v = readWhole(doc("bad UTF-8 before the item"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Failed, {}, {}, 4, badEncoding}));
    v = readWhole(doc("Latin-1 undeclared"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Failed, {}, {}, 4, badEncoding}));
    v = readWhole(doc("truncated sequence before ASCII"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Failed, {}, {}, 4, badEncoding}));
    // The first fitting item decides before the bad bytes are reached.
    v = readWhole(doc("bad UTF-8 after the item"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Decided, QStringLiteral("x"), QStringLiteral("2.25"), 0, {}}));
    v = readWhole(doc("Latin-1 declared"));
    QCOMPARE(v.title, QStringLiteral("Größer"));
    v = readWhole(doc("UTF-16 with byte-order mark"));
    QCOMPARE(v.title, QStringLiteral("Stück"));
    v = readWhole(doc("unsupported encoding"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Failed, {}, {}, 1, QStringLiteral("Encoding x-bogus is unsupported")}));
    v = readWhole(doc("truncated inside a character"));
    QCOMPARE(v.outcome, FeedReader::Outcome::Undecided);
    v = readWhole(doc("valid with CRLF"));
    QCOMPARE(v.title, QStringLiteral("Stückü"));
    v = readWhole(doc("end of a CDATA section in text"));
    QCOMPARE(describe(v), describe({FeedReader::Outcome::Failed, {}, {}, 4,
                                    QStringLiteral("Sequence ']]>' not allowed in content.")}));
}

void FeedReaderTest::verdictDoesNotDependOnHowBytesArrive()
{
    QRandomGenerator random(20);
    for (const auto &[name, bytes] : documents()) {
        const Verdict whole = readWhole(bytes);
        QList<QList<qsizetype>> splits;
        for (qsizetype n = 1; n <= 13; ++n)
            splits << everyNth(bytes.size(), n);
        for (qsizetype at = 1; at < bytes.size(); ++at)
            splits << QList<qsizetype>{at};
        for (int round = 0; round < 30; ++round) {
            QList<qsizetype> cuts;
            for (qsizetype at = random.bounded(1, 40); at < bytes.size(); at += random.bounded(1, 40))
                cuts << at;
            splits << cuts;
        }
        for (const QList<qsizetype> &cuts : splits) {
            const Verdict pieces = readInPieces(bytes, cuts);
            if (!(pieces == whole)) {
                QFAIL(qPrintable(QStringLiteral("%1, cut at %2:\n  whole:  %3\n  pieces: %4")
                                     .arg(QLatin1String(name), QString::number(cuts.value(0)) + QStringLiteral("..."),
                                          describe(whole), describe(pieces))));
            }
        }
    }
}

void FeedReaderTest::dataArrivingInPieces()
{
    const QByteArray whole = FeedServerFixture::feed(
        {item(QStringLiteral("StückFürStück"), onLinux + QStringLiteral("brisavela:programType=\"FULL\""))});
    const Verdict expected = readWhole(whole);
    QCOMPARE(expected.outcome, FeedReader::Outcome::Decided);
    QCOMPARE(expected.title, QStringLiteral("StückFürStück"));
    QCOMPARE(describe(readInPieces(whole, everyNth(whole.size(), 7))), describe(expected));
}
