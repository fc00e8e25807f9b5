#include "tests/faults/TrackingFaultTest.h"

#include "chart/Ship.h"
#include "tests/faults/StdoutCapture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/FetchHealth.h"
#include "window/StatusNote.h"
#include "window/TrackingClient.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

namespace {
using RaceData::Fix;
constexpr int von = 1712743200;
constexpr int storedFixes = 60;
constexpr int newFixes = 30;
const int boats[] = {301, 302};

QList<Fix> fixesOf(int shipId, int count)
{
    return RaceData::straight(42.8 + 0.01 * (shipId - 300), 16.0, 0.0002, 0.0003, von + 60, 60, count);
}

// Two boats with an hour of positions stored; the server has half an hour more.
void storeBoatsWithPositions(TrackingServerFixture &server)
{
    for (const int id : boats) {
        RaceData::Boat boat{id, 125, QStringLiteral("Laser"), QString::number(id - 300), QStringLiteral("B%1").arg(id)};
        boat.lastget = fixesOf(id, storedFixes).last().time;
        RaceData::insertBoat(boat);
        RaceData::insertTrack(id, 125, fixesOf(id, storedFixes));
        server.setPositions(id, fixesOf(id, storedFixes + newFixes));
    }
}

QByteArray body(const QList<Fix> &fixes)
{
    QByteArray result;
    for (const Fix &fix : fixes)
        result += TrackingServerFixture::positionLine(fix) + '\n';
    return result;
}

QUrl refusingUrl()
{
    // A port that was just free: nothing listens there any more.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

// The table, the boat in memory and its lastget hold exactly the first `count` positions.
void checkHolds(const WindowRig &rig, int shipId, int count)
{
    const QList<Fix> expected = fixesOf(shipId, count);
    QCOMPARE(RaceData::trackRows(shipId, 125), count);
    QCOMPARE(RaceData::distinctTrackRows(shipId, 125), count);
    QCOMPARE(RaceData::storedLastget(shipId), expected.last().time);
    const Ship *ship = rig.ship(shipId);
    QVERIFY(ship);
    QVERIFY(ship->ready());
    QVERIFY(ship->scene());
    QCOMPARE(ship->lastget(), expected.last().time);
    QCOMPARE(ship->pointCount(), count);
    const Track &track = ship->fullTrack();
    QCOMPARE(track.count(), count);
    for (int i = 0; i < count; i += 17)
        QCOMPARE(track.point(i).time, expected[i].time);
    QCOMPARE(track.last().time, expected.last().time);
}

// Fetches until both boats hold everything the server has, as the fetch button would.
bool fetchUntilComplete(WindowRig &rig)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        // After a failure the first fetch only probes; its answer lets the next one fetch.
        rig.window->getData();
        (void)QTest::qWaitFor([&] { return rig.window->serverUp(); }, 3000);
        if (!rig.settle(10000))
            return false;
        if (RaceData::trackRows(301, 125) == storedFixes + newFixes
            && RaceData::trackRows(302, 125) == storedFixes + newFixes)
            return true;
    }
    return false;
}
} // namespace

void TrackingFaultTest::init()
{
    TestEnvironment::reset();
}

void TrackingFaultTest::failedAnswersLeaveStoredDataAndRecover_data()
{
    QTest::addColumn<QString>("fault");
    // What the status line says of it.
    QTest::addColumn<QString>("failure");
    const QString unreachable = QStringLiteral("Server nicht erreichbar – ");
    QTest::newRow("connection refused") << "refused" << unreachable;
    QTest::newRow("HTTP 500 with a body") << "500" << QStringLiteral("Abruf fehlgeschlagen (HTTP 500) – ");
    // The answer had begun with status 200 when the connection broke.
    QTest::newRow("reset mid-answer") << "reset" << QStringLiteral("Abruf fehlgeschlagen (HTTP ");
    QTest::newRow("stall until the timeout") << "stall" << unreachable;
    QTest::newRow("closed without a byte") << "closed" << unreachable;
    QTest::newRow("random bytes") << "random" << QString();
}

void TrackingFaultTest::failedAnswersLeaveStoredDataAndRecover()
{
    QFETCH(QString, fault);
    QFETCH(QString, failure);
    WindowRig rig;
    rig.clock.pin(von + 7200);
    storeBoatsWithPositions(rig.tracking);
    rig.window->trackingClient()->setTimeout(fault == QLatin1String("stall") ? 300 : 10000);
    rig.start(125, 279);
    QVERIFY(rig.settle());
    for (const int id : boats)
        checkHolds(rig, id, storedFixes);

    const char *positions = TrackingServerFixture::positionsPath;
    const bool networkError = fault != QLatin1String("random");
    if (fault == QLatin1String("refused")) {
        rig.services.environment.setTrackingServerUrl(refusingUrl());
    } else if (fault == QLatin1String("500")) {
        rig.tracking.setFault(positions, TrackingServerFixture::Fault::ServerError);
    } else if (fault == QLatin1String("reset")) {
        rig.tracking.setFault(positions, TrackingServerFixture::Fault::ResetMidBody);
    } else if (fault == QLatin1String("stall")) {
        rig.tracking.setFault(positions, TrackingServerFixture::Fault::Stall);
    } else if (fault == QLatin1String("closed")) {
        rig.tracking.setFault(positions, TrackingServerFixture::Fault::CloseBeforeAnswer);
    } else {
        QRandomGenerator random(13);
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        for (char &c : noise)
            c = char(random.bounded(256));
        for (const int id : boats)
            rig.tracking.setPositionBodies(id, {noise, body(fixesOf(id, storedFixes + newFixes).mid(storedFixes))});
    }

    LogCapture log;
    QString printed;
    {
        StdoutCapture out;
        rig.window->getData();
        const bool settled = rig.settle(10000);
        printed = out.text();
        QVERIFY(settled);
    }
    QVERIFY(rig.window->isVisible());
    // A connection closed before any answer is tried once more by the network layer.
    const int asked = int(rig.tracking.requests(positions).size());
    if (fault == QLatin1String("refused"))
        QCOMPARE(asked, 0);
    else if (fault == QLatin1String("closed"))
        QVERIFY(asked >= 2);
    else
        QCOMPARE(asked, 2);
    for (const int id : boats)
        checkHolds(rig, id, storedFixes);
    // Nothing was left unstored, so there is no note; a failed request is said across the
    // status line with the time of the data on the screen.
    QVERIFY2(rig.window->statusNote()->text().isEmpty(), qPrintable(rig.window->statusNote()->text()));
    const QString said = rig.window->statusBar()->currentMessage();
    if (networkError) {
        QVERIFY(log.containsPart(QStringLiteral(" no connexxion, ")));
        QVERIFY(rig.window->fetchHealth()->failing());
        QVERIFY2(said.startsWith(failure), qPrintable(said));
    } else {
        // Every line is refused on its own; an answer without a position is nothing to store.
        QVERIFY2(printed.contains(QStringLiteral(" shipidx (httpFinished) = 0, ")), qPrintable(printed.left(300)));
        QVERIFY(printed.contains(QStringLiteral(" shipidx (httpFinished) = 1, ")));
        QVERIFY2(!rig.window->fetchHealth()->failing(), qPrintable(said));
    }

    // The server is well again: the next fetches complete both boats, each position once.
    rig.tracking.clearFaults();
    rig.services.environment.setTrackingServerUrl(rig.tracking.baseUrl());
    QVERIFY(fetchUntilComplete(rig));
    for (const int id : boats)
        checkHolds(rig, id, storedFixes + newFixes);
}

void TrackingFaultTest::twoHundredThousandLinesForOneBoat()
{
    constexpr int lines = 200000;
    WindowRig rig;
    rig.clock.pin(von + lines + 3600);
    RaceData::insertBoat({401, 125, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Dauerläufer")});
    const QList<Fix> fixes = RaceData::straight(42.5, 15.5, 0.000002, 0.000003, von + 1, 1, lines);
    rig.tracking.setPositionBody(401, body(fixes));

    // A timer that should fire every 5 ms: the longest gap between two of its ticks is the
    // longest time the event loop was held up.
    QElapsedTimer sinceTick;
    qint64 longestBlockMs = 0;
    int blocksOver100Ms = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.restart();
        longestBlockMs = std::max(longestBlockMs, gap);
        blocksOver100Ms += gap > 100 ? 1 : 0;
    });
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    heartbeat.start();
    rig.start(125, 279);
    QVERIFY(QTest::qWaitFor([&] { return RaceData::trackRows(401, 125) == lines; }, 120000));
    QVERIFY(rig.settle(120000));
    heartbeat.stop();

    QCOMPARE(RaceData::distinctTrackRows(401, 125), lines);
    QCOMPARE(RaceData::storedLastget(401), fixes.last().time);
    const Ship *ship = rig.ship(401);
    QVERIFY(ship && ship->ready() && ship->scene());
    QCOMPARE(ship->fullTrack().count(), lines);
    QCOMPARE(ship->lastget(), fixes.last().time);
    QVERIFY(rig.window->statusNote()->text().isEmpty());
    // The answer is handled in one piece today, so the event loop stands still for the
    // whole of it. Measured and reported here; the limit of 100 ms per slice is the aim of
    // the work on the drawing and loading path, and is not asserted in a unit test.
    qInfo("%d positions of one boat: stored and shown after %lld ms; the event loop was held up for "
          "at most %lld ms, %d times for more than 100 ms",
          lines, total.elapsed(), longestBlockMs, blocksOver100Ms);
}
