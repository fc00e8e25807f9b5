#include "tests/demo/DemoServerTest.h"

#include "tests/demo/HttpGet.h"
#include "tools/demoserver/DemoServer.h"
#include "tools/regattasim/RaceBook.h"

#include <QTest>

namespace {
constexpr qint64 von2024 = 1713168000;
}

void DemoServerTest::initTestCase()
{
    DemoServer::Options options;
    options.port = 0;
    options.liveStart = 1800000000;
    options.offeredVersion = QStringLiteral("2.25.0");
    m_now = options.liveStart + 1800;
    options.clock = [this] { return m_now; };
    m_server = new DemoServer(options);
    QVERIFY(m_server->listen());
}

void DemoServerTest::cleanupTestCase()
{
    delete m_server;
}

void DemoServerTest::boatListFollowsTheProtocol()
{
    const HttpGet::Answer a = HttpGet::get(m_server->port(), QStringLiteral("api/getBoats.php?rg=125&wf=281&csv=1"));
    QCOMPARE(a.status, 200);
    const QStringList lines = QString::fromUtf8(a.body).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), m_server->regatta(125)->boats().size());
    bool hidden = false;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char('|'));
        QCOMPARE(f.size(), 10);
        bool ok = false;
        const int id = f[1].toInt(&ok);
        QVERIFY(ok);
        hidden = hidden || id == 38;
        QCOMPARE(f[8].toLongLong(), von2024);
        QCOMPARE(f[9], QStringLiteral("125"));
    }
    QVERIFY(hidden);
    // Umlauts and diacritics of the names arrive as UTF-8.
    QVERIFY(QString::fromUtf8(a.body).contains(QStringLiteral("ć")));
    // The three races of 2024 share one event: one boat list.
    QCOMPARE(HttpGet::get(m_server->port(), QStringLiteral("api/getBoats.php?rg=125&wf=279&csv=1")).body, a.body);
}

void DemoServerTest::positionsComeAfterLaOnlyAndAddUp()
{
    const int boat = m_server->regatta(125)->boats().at(3).id;
    auto ask = [&](qint64 la) {
        return HttpGet::get(m_server->port(), QStringLiteral("api/getPosition.php?rg=125&wf=281&bo=%1&h=5&la=%2"
                                                             "&csv=1&lid=%2").arg(boat).arg(la))
            .body;
    };
    const QByteArray all = ask(von2024);
    QCOMPARE(ask(von2024), all);
    const QList<QByteArray> lines = all.split('\n').mid(0, all.count('\n'));
    QVERIFY(lines.size() > 500);
    qint64 previous = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> f = line.split(';');
        QCOMPARE(f.size(), 5);
        bool ok = false;
        const qint64 t = f[2].toLongLong(&ok);
        QVERIFY(ok && t > previous);
        previous = t;
        QVERIFY(f[0].toDouble() > 42 && f[0].toDouble() < 43.2);
        QVERIFY(f[1].toDouble() > 15.8 && f[1].toDouble() < 16.4);
    }
    // Asking on from the time of a line gets exactly the lines after it.
    const qint64 middle = lines[200].split(';')[2].toLongLong();
    const QByteArray rest = ask(middle);
    QCOMPARE(rest, lines.mid(201).join('\n') + '\n');
    QVERIFY(ask(previous).isEmpty());
}

void DemoServerTest::liveRaceNeverReportsTheFuture()
{
    const RaceDefinition live = RaceBook::live(1800000000);
    const int boat = m_server->regatta(RaceBook::liveEventId)->boats().first().id;
    const QString path = QStringLiteral("api/getPosition.php?rg=%1&wf=%2&bo=%3&h=5&la=%4&csv=1&lid=%4")
                             .arg(RaceBook::liveEventId)
                             .arg(RaceBook::liveTaskId)
                             .arg(boat)
                             .arg(live.von);
    const QByteArray first = HttpGet::get(m_server->port(), path).body;
    const QList<QByteArray> lines = first.trimmed().split('\n');
    QVERIFY(lines.size() >= 30 && lines.size() <= 31);
    QVERIFY(lines.last().split(';')[2].toLongLong() <= m_now);
    // Two minutes later two more reports are there.
    m_now += 120;
    const QByteArray later = HttpGet::get(m_server->port(), path).body;
    QCOMPARE(later.count('\n'), first.count('\n') + 2);
    QVERIFY(later.startsWith(first));
}

void DemoServerTest::unknownBoatsAndEventsGetEmptyAnswers()
{
    for (const QString &path : {QStringLiteral("api/getBoats.php?rg=4711&wf=1&csv=1"),
                                QStringLiteral("api/getPosition.php?rg=125&wf=281&bo=4711&h=5&la=0&csv=1&lid=0"),
                                QStringLiteral("api/getPosition.php?rg=4711&wf=1&bo=12501&h=5&la=0&csv=1&lid=0")}) {
        const HttpGet::Answer a = HttpGet::get(m_server->port(), path);
        QCOMPARE(a.status, 200);
        QVERIFY(a.body.isEmpty());
    }
    QCOMPARE(HttpGet::get(m_server->port(), QStringLiteral("api/isup.html")).status, 200);
    QCOMPARE(HttpGet::get(m_server->port(), QStringLiteral("api/nothing.php")).status, 404);
}

void DemoServerTest::feedStillOffersTheVersionAskedFor()
{
    const HttpGet::Answer a = HttpGet::get(m_server->port(), QStringLiteral("downloads/setup/brisavela.xml"));
    QCOMPARE(a.status, 200);
    QVERIFY(a.body.contains("sparkle:version=\"2.25.0\""));
}
