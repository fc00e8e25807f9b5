#include "tests/race/RankingCsvWriterTest.h"

#include "race/RankingCsvWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

Standing finished()
{
    Standing s;
    s.boatId = 1;
    s.rank = 1;
    s.classRank = 1;
    s.startnr = QStringLiteral("7");
    s.name = QStringLiteral("Möwe");
    s.klasse = QStringLiteral("ORC 1");
    s.state.hasPosition = true;
    s.state.finished = true;
    s.state.finishTime = 1713214123.4;
    s.state.elapsedSeconds = 98765.4;
    s.state.remainingNm = 0;
    s.state.speedKnots = 5.56;
    s.state.courseDegrees = 359.6;
    s.gapNm = 0;
    s.gapSeconds = 0;
    return s;
}

Standing sailing(const QString &name)
{
    Standing s;
    s.boatId = 2;
    s.rank = 2;
    s.classRank = 1;
    s.startnr = QStringLiteral("12");
    s.name = name;
    s.klasse = QStringLiteral("Sportboote");
    s.nextMarkName = QStringLiteral("Palagruza");
    s.state.hasPosition = true;
    s.state.nextMark = 9;
    s.state.distanceToNextNm = 12.345;
    s.state.remainingNm = 50;
    s.state.speedKnots = 7.04;
    s.state.courseDegrees = 172.2;
    s.gapNm = 1234.5;
    s.gapSeconds = 3 * 3600 + 4 * 60 + 5.4;
    return s;
}

// Fields of RFC 4180 text with ';' between them.
QList<QStringList> parse(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += c, ++i;
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            row << field, field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            row << field, field.clear();
            rows << row, row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

void RankingCsvWriterTest::rowsAsSpreadsheetsReadThem()
{
    Standing unseen;
    unseen.boatId = 3;
    unseen.rank = 3;
    unseen.classRank = 2;
    unseen.startnr = QStringLiteral("4");
    unseen.name = QStringLiteral("Galeb");
    unseen.klasse = QStringLiteral("Sportboote");
    unseen.nextMarkName = QStringLiteral("Start Komiza");

    const QByteArray csv =
        RankingCsvWriter::toCsv(Ranking(1713214200, {finished(), sailing(QStringLiteral("Bura")), unseen}));
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QString finishText =
        QDateTime::fromSecsSinceEpoch(1713214123).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    QCOMPARE(QString::fromUtf8(csv.mid(3)),
             QStringLiteral("Rang;Nr.;Boot;Klasse;Nächste Marke;Distanz (sm);Abstand (sm);Abstand (Zeit);Speed (kn);"
                            "Kurs (°);Klassenrang;Zielzeit;Segelzeit\r\n"
                            "1;7;Möwe;ORC 1;Im Ziel;;0,00;0:00:00;5,6;0;1;%1;27:26:05\r\n"
                            "2;12;Bura;Sportboote;Palagruza;12,35;1234,50;3:04:05;7,0;172;1;;\r\n"
                            "3;4;Galeb;Sportboote;Start Komiza;;;;;;2;;\r\n")
                 .arg(finishText));
}

void RankingCsvWriterTest::awkwardNamesSurviveTheRoundTrip()
{
    const QStringList names = {
        QStringLiteral("Bura; \"Nordwind\""),
        QStringLiteral("zwei\nZeilen"),
        QStringLiteral("=HYPERLINK(\"http://x\")"),
        QStringLiteral("+1"),
        QStringLiteral("@Summe"),
        QStringLiteral("-  Škoj"),
        QStringLiteral("ganz normal"),
    };
    QList<Standing> rows;
    for (const QString &n : names)
        rows << sailing(n);
    const QList<QStringList> parsed = parse(QString::fromUtf8(RankingCsvWriter::toCsv(Ranking(0, rows)).mid(3)));
    QCOMPARE(parsed.size(), names.size() + 1);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QCOMPARE(parsed[i + 1].size(), parsed[0].size());
        // What a spreadsheet would run as a formula gets an apostrophe; the rest stays as it is.
        const bool formula = QStringLiteral("=+-@").contains(names[i].front());
        QCOMPARE(parsed[i + 1][2], formula ? QLatin1Char('\'') + names[i] : names[i]);
    }
}

void RankingCsvWriterTest::fileIsWrittenWholeOrNotAtAll()
{
    QTemporaryDir dir;
    const Ranking r(0, {finished(), sailing(QStringLiteral("Bura"))});
    const QString path = dir.filePath(QStringLiteral("rangliste.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
    old.close();

    QString error;
    QVERIFY(RankingCsvWriter::write(r, path, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), RankingCsvWriter::toCsv(r));

    const QString nowhere = dir.filePath(QStringLiteral("fehlt/rangliste.csv"));
    QVERIFY(!RankingCsvWriter::write(r, nowhere, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rangliste.csv")});
}
