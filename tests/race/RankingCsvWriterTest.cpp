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

void RankingCsvWriterTest::awkwardNamesAreQuotedAndDefused()
{
    // Quoted where a separator, a quote or a line break would break the row; an apostrophe
    // before what a spreadsheet would run as a formula; anything else as it is.
    const QList<QPair<QString, QString>> names = {
        {QStringLiteral("Bura; \"Nordwind\""), QStringLiteral("\"Bura; \"\"Nordwind\"\"\"")},
        {QStringLiteral("zwei\r\nZeilen"), QStringLiteral("\"zwei\r\nZeilen\"")},
        {QStringLiteral("=HYPERLINK(\"http://x\")"), QStringLiteral("\"'=HYPERLINK(\"\"http://x\"\")\"")},
        {QStringLiteral("+1"), QStringLiteral("'+1")},
        {QStringLiteral("@Summe"), QStringLiteral("'@Summe")},
        {QStringLiteral("-  Škoj"), QStringLiteral("'-  Škoj")},
        {QStringLiteral("Bura 2"), QStringLiteral("Bura 2")},
    };
    for (const auto &[name, field] : names) {
        const QString csv = QString::fromUtf8(RankingCsvWriter::toCsv(Ranking(0, {sailing(name)})));
        QVERIFY2(csv.contains(QStringLiteral(";Sportboote;Palagruza;").prepend(QLatin1Char(';') + field)),
                 qPrintable(csv));
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
