#include "tests/store/PositionStoreTest.h"

#include "store/BoatListStore.h"
#include "store/LocalDatabase.h"
#include "store/PositionStore.h"
#include "store/ShipTable.h"
#include "tests/support/ExclusiveLock.h"
#include "tests/support/RaceData.h"
#include "tests/support/ReadOnlyGuard.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

namespace {
constexpr int ship = 301;
constexpr int eventId = 125;

PositionRow row(qint32 time, double lat = 43.0)
{
    return {lat, 16.0 + time * 1e-5, time, 45.0};
}

std::vector<PositionRow> rows(std::initializer_list<qint32> times)
{
    std::vector<PositionRow> result;
    for (const qint32 t : times)
        result.push_back(row(t));
    return result;
}

QList<int> storedTimes()
{
    QList<int> times;
    for (const QVariantList &r : SqlHelpers::rows(
             QStringLiteral("SELECT tstamp FROM track WHERE ship_id=%1 AND regatta_id=%2 ORDER BY tstamp")
                 .arg(ship)
                 .arg(eventId)))
        times << r.first().toInt();
    return times;
}

void storeBoat(int lastget)
{
    RaceData::Boat boat{ship, eventId, QStringLiteral("Laser"), QStringLiteral("1"), QStringLiteral("Neptun")};
    boat.lastget = lastget;
    RaceData::insertBoat(boat);
}
} // namespace

void PositionStoreTest::init()
{
    TestEnvironment::reset();
}

void PositionStoreTest::everyPositionIsStoredOnceWhateverTheOrder()
{
    TestDatabase db;
    storeBoat(0);
    // Newest first: each of them is kept, and lastget is the newest.
    PositionStore::Outcome first = PositionStore::store(ship, eventId, 0, rows({1060, 1000, 1030}));
    QVERIFY(first.ok);
    QCOMPARE(first.inserted, (std::vector<int>{0, 1, 2}));
    QCOMPARE(first.lastget, 1060);
    QCOMPARE(RaceData::storedLastget(ship), 1060);

    // Overlapping and repeated, in a shuffled order: only the new ones are inserted, the
    // repeats are refused by the table and counted, and the first stored row of a time stays.
    std::vector<PositionRow> second;
    for (const qint32 t : {1090, 1000, 1120, 1030, 1090, 1015})
        second.push_back(row(t, 44.0));
    const PositionStore::Outcome again = PositionStore::store(ship, eventId, first.lastget, second);
    QVERIFY(again.ok);
    QCOMPARE(again.inserted, (std::vector<int>{0, 2, 5}));
    QCOMPARE(again.duplicates, 3);
    QCOMPARE(again.lastget, 1120);
    QCOMPARE(storedTimes(), (QList<int>{1000, 1015, 1030, 1060, 1090, 1120}));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT lat FROM track WHERE tstamp=1000")).toDouble(), 43.0);

    // A thousand lines in reverse order: all thousand are stored.
    std::vector<PositionRow> reverse;
    for (int t = 100000; t > 99000; --t)
        reverse.push_back(row(t));
    QVERIFY(PositionStore::store(ship, eventId, again.lastget, reverse).ok);
    QCOMPARE(RaceData::trackRows(ship, eventId), 1006);
    QCOMPARE(RaceData::distinctTrackRows(ship, eventId), 1006);
    QCOMPARE(RaceData::storedLastget(ship), 100000);
}

void PositionStoreTest::lastgetOnlyGrows()
{
    TestDatabase db;
    storeBoat(5000);
    // Older positions fill a gap; lastget stays where it was asked from.
    const PositionStore::Outcome older = PositionStore::store(ship, eventId, 5000, rows({1000, 2000}));
    QVERIFY(older.ok);
    QCOMPARE(older.lastget, 5000);
    QCOMPARE(RaceData::storedLastget(ship), 5000);
    QCOMPARE(storedTimes(), (QList<int>{1000, 2000}));
    // Nothing stored: nothing written.
    SqlHelpers::exec({QStringLiteral("UPDATE ship SET lastget=4000 WHERE id=%1").arg(ship)});
    QCOMPARE(PositionStore::store(ship, eventId, 5000, {}).lastget, 5000);
    QCOMPARE(RaceData::storedLastget(ship), 4000);
    // Positions the caller knew to be stored still count for lastget.
    QCOMPARE(PositionStore::store(ship, eventId, 5000, {}, 6000).lastget, 6000);
    QCOMPARE(RaceData::storedLastget(ship), 6000);
}

void PositionStoreTest::lockedDatabaseKeepsNothingAndLastget()
{
    TestDatabase db(QStringLiteral("locked.db"), true, 150);
    storeBoat(900);
    PositionStore::Outcome outcome;
    {
        ExclusiveLock other(db.path());
        QVERIFY(other.isLocked());
        outcome = PositionStore::store(ship, eventId, 900, rows({1000, 1060}));
    }
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.error.contains(QStringLiteral("locked")));
    QCOMPARE(outcome.lastget, 900);
    QVERIFY(outcome.inserted.empty());
    QCOMPARE(RaceData::trackRows(ship, eventId), 0);
    QCOMPARE(RaceData::storedLastget(ship), 900);

    // Once the other program lets go, the same answer is stored whole.
    const PositionStore::Outcome later = PositionStore::store(ship, eventId, 900, rows({1000, 1060}));
    QVERIFY(later.ok);
    QCOMPARE(storedTimes(), (QList<int>{1000, 1060}));
    QCOMPARE(RaceData::storedLastget(ship), 1060);
}

void PositionStoreTest::shortLockIsWaitedOut()
{
    TestDatabase db(QStringLiteral("briefly.db"), true, 5000);
    storeBoat(0);
    ExclusiveLock other(db.path(), 200);
    QVERIFY(other.isLocked());
    const PositionStore::Outcome outcome = PositionStore::store(ship, eventId, 0, rows({1000, 1060}));
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(storedTimes(), (QList<int>{1000, 1060}));
}

void PositionStoreTest::readOnlyFileRefusesAndSaysSo()
{
    QString path;
    {
        TestDatabase db(QStringLiteral("readonly.db"));
        storeBoat(700);
        RaceData::insertTrack(ship, eventId, {{43.0, 16.0, 500}});
        path = db.path();
    }
    ReadOnlyGuard guard(path);
    if (!guard.isActive())
        QSKIP("this file system cannot make a file read-only for this user");
    bool existed = false;
    QVERIFY(LocalDatabase::open(path, &existed, 150));
    QVERIFY(existed);
    QVERIFY(!LocalDatabase::isWritable());
    const PositionStore::Outcome outcome = PositionStore::store(ship, eventId, 700, rows({1000}));
    QVERIFY(!outcome.ok);
    QVERIFY(!outcome.error.isEmpty());
    // What was stored is still there to be shown.
    QCOMPARE(storedTimes(), (QList<int>{500}));
    QCOMPARE(RaceData::storedLastget(ship), 700);
    LocalDatabase::close();
}

void PositionStoreTest::boatListStopsAtAFailedWrite()
{
    TestDatabase db(QStringLiteral("boats.db"), true, 150);
    storeBoat(700);
    RaceData::insertTrack(ship, eventId, {{43.0, 16.0, 500}});
    ExclusiveLock other(db.path());
    BoatListStore store;
    // The transaction begins without a lock; the first write finds the file held.
    QVERIFY(store.begin());
    BoatRow boat;
    boat.id = 555;
    boat.raceId = eventId;
    QCOMPARE(store.write(boat, QStringLiteral("#ff008a"), false), BoatListStore::Write::Failed);
    QVERIFY(store.error().contains(QStringLiteral("locked")));
    store.rollback();
    other.release();
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM ship")).toInt(), 1);
    QCOMPARE(RaceData::trackRows(ship, eventId), 1);
}

void PositionStoreTest::boatOfAnotherEventIsReported()
{
    TestDatabase db;
    storeBoat(700);
    BoatListStore store;
    QVERIFY(store.begin());
    BoatRow boat;
    boat.id = ship;
    boat.raceId = 126;
    boat.name = QStringLiteral("Doppelgänger");
    QVERIFY(!store.exists(ship, 126));
    QCOMPARE(store.write(boat, QStringLiteral("#00ffcc"), false), BoatListStore::Write::OtherEvent);
    QCOMPARE(store.storedEvent(), eventId);
    // The boat as stored is left as it was, and the list goes on.
    boat.id = 302;
    QCOMPARE(store.write(boat, QStringLiteral("#00ffcc"), false), BoatListStore::Write::Inserted);
    QVERIFY(store.commit());
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, regatta_id, name FROM ship ORDER BY id")),
             (QList<QVariantList>{QVariantList{ship, eventId, QStringLiteral("Neptun")},
                                   QVariantList{302, 126, QStringLiteral("Doppelgänger")}}));
}

void PositionStoreTest::storedPositionsReadBackExactly()
{
    TestDatabase db;
    storeBoat(0);
    // One writer for several answers keeps its statements; what it stored reads back in time
    // order with the values sent, and nothing of another event or boat.
    PositionStore writer(QSqlDatabase::database());
    std::vector<PositionRow> first{{43.123456, 16.654321, 2000, 0}, {-33.9, -18.4, 1000, 0}};
    QVERIFY(writer.write(ship, eventId, 0, first).ok);
    QVERIFY(writer.write(ship, eventId, 2000, {{43.5, 16.5, 1500, 0}, {43.123456, 16.654321, 2000, 0}}).ok);
    QVERIFY(writer.write(ship, eventId + 1, 0, {{10.0, 10.0, 1200, 0}}).ok);
    QVERIFY(writer.write(ship + 1, eventId, 0, {{11.0, 11.0, 1300, 0}}).ok);
    std::vector<PositionRow> read{{1.0, 2.0, 7, 0}};
    QCOMPARE(ShipTable::positionsOf(ship, eventId, &read), ReadResult::Rows);
    QCOMPARE(read.size(), size_t(4));
    QCOMPARE(read[0].time, 7); // appended to what the vector held
    QCOMPARE(read[1].time, 1000);
    QCOMPARE(read[1].lat, -33.9);
    QCOMPARE(read[2].time, 1500);
    QCOMPARE(read[3].lat, 43.123456);
    QCOMPARE(read[3].lng, 16.654321);

    std::vector<PositionRow> none;
    QCOMPARE(ShipTable::positionsOf(ship, eventId + 7, &none), ReadResult::Empty);
    QVERIFY(none.empty());
    // A table that cannot be read says so and leaves the vector as it was.
    const int lastget = RaceData::storedLastget(ship);
    QVERIFY(QSqlQuery().exec(QStringLiteral("DROP TABLE track")));
    QCOMPARE(ShipTable::positionsOf(ship, eventId, &none), ReadResult::Failed);
    QVERIFY(none.empty());
    const PositionStore::Outcome refused = writer.write(ship, eventId, 2000, rows({3000}));
    QVERIFY(!refused.ok);
    QVERIFY(!refused.error.isEmpty());
    QCOMPARE(refused.lastget, 2000);
    QCOMPARE(RaceData::storedLastget(ship), lastget);
}

void PositionStoreTest::answersTogetherAreAllOrNothing()
{
    TestDatabase db;
    storeBoat(0);
    RaceData::Boat other{ship + 1, eventId, QStringLiteral("Laser"), QStringLiteral("2"), QStringLiteral("Triton")};
    RaceData::insertBoat(other);
    PositionStore writer(QSqlDatabase::database());
    // Two answers for one boat that queued up together overlap; the second's repeat is
    // refused by the table and counted, and lastget is the newest of both.
    const std::vector<PositionRow> first = rows({1000, 1060});
    const std::vector<PositionRow> second = rows({1060, 1120});
    const std::vector<PositionRow> third = rows({2000});
    std::vector<PositionStore::Outcome> outcomes = writer.writeAll(
        {{ship, eventId, 0, &first, 0}, {ship, eventId, 0, &second, 0}, {ship + 1, eventId, 500, &third, 0}});
    QCOMPARE(outcomes.size(), size_t(3));
    QVERIFY(outcomes[0].ok && outcomes[1].ok && outcomes[2].ok);
    QCOMPARE(outcomes[1].inserted, (std::vector<int>{1}));
    QCOMPARE(outcomes[1].duplicates, 1);
    QCOMPARE(storedTimes(), (QList<int>{1000, 1060, 1120}));
    QCOMPARE(RaceData::storedLastget(ship), 1120);
    QCOMPARE(RaceData::storedLastget(ship + 1), 2000);

    // One answer the database refuses keeps none of them: every outcome says so and keeps
    // the lastget it came with.
    QVERIFY(QSqlQuery().exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON track WHEN NEW.ship_id = %1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                                 .arg(ship + 1)));
    const std::vector<PositionRow> later = rows({3000, 3060});
    const std::vector<PositionRow> refused = rows({4000});
    outcomes = writer.writeAll({{ship, eventId, 1120, &later, 0}, {ship + 1, eventId, 2000, &refused, 0}});
    QVERIFY(!outcomes[0].ok && !outcomes[1].ok);
    QVERIFY(outcomes[0].error.contains(QStringLiteral("refused")));
    QCOMPARE(outcomes[0].lastget, 1120);
    QCOMPARE(outcomes[1].lastget, 2000);
    QCOMPARE(storedTimes(), (QList<int>{1000, 1060, 1120}));
    QCOMPARE(RaceData::storedLastget(ship), 1120);
    QCOMPARE(RaceData::storedLastget(ship + 1), 2000);
    // The writer goes on once the database takes positions again.
    QVERIFY(QSqlQuery().exec(QStringLiteral("DROP TRIGGER refuse")));
    QVERIFY(writer.write(ship, eventId, 1120, later).ok);
    QCOMPARE(RaceData::storedLastget(ship), 3060);
}
