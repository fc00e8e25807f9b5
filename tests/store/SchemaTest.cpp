#include "tests/store/SchemaTest.h"

#include "store/DatabaseSchema.h"
#include "store/LocalDatabase.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SqlHelpers.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString raceQuery = QStringLiteral(
    "SELECT id, event_id, task_id, name, von, bis, showcompletetracks FROM regatta ORDER BY id");

QVariantList race(int id, int event, int task, const char *name, int von, int bis, int complete)
{
    return {id, event, task, QString::fromLatin1(name), von, bis, complete};
}

QList<QVariantList> seeded2024(int firstId)
{
    return {race(firstId, 125, 279, "Round Zirkavento 2024 , Test", 1712743200, 1712987940, 0),
            race(firstId + 1, 125, 280, "Round Zirkavento 2024 , Das Training", 1712988000, 1713167940, 0),
            race(firstId + 2, 125, 281, "Round Zirkavento 2024 , Das Rennen", 1713168000, 1713628800, 0)};
}

QString updateText(int from)
{
    return QStringLiteral("Die Datenbank wird von Version %1 auf die neueste Version 23 aktualisiert.\n\n").arg(from);
}

// The tables as they were at schema version 3: steps a and b applied, nothing later.
QStringList version3Schema()
{
    return {QStringLiteral("create table version (id int primary key,version int)"),
            QStringLiteral("insert into version values (0, 3)"),
            QStringLiteral("create table regatta (id INTEGER primary key,event_id int, task_id int, "
                           "name varchar(100), von int, bis int)"),
            QStringLiteral("insert into regatta values(1, 10, 88, 'Round Zirkavento 2010', 1270458000, 1270764000)"),
            QStringLiteral("insert into regatta values(7, 21, 120, 'Eigene Regatta', 1302905280, 1303509600)"),
            QStringLiteral("create table ship (id INTEGER primary key,regatta_id int, name varchar(100), "
                           "skipper varchar(100), team varchar(100), klasse varchar(100), startnr varchar(100), "
                           "farbe varchar(7), lastget int, show boolean, follow boolean)"),
            QStringLiteral("create table track (id INTEGER PRIMARY KEY, ship_id INTEGER, regatta_id int, "
                           "tstamp int, lat numeric(9,6), lng numeric(9,6))"),
            QStringLiteral("create table prefs (id INTEGER primary key, loadmaps int)"),
            QStringLiteral("insert into prefs (id, loadmaps) values (1, 0)")};
}

// Every column of the current schema, at a version between 6 and 22.
QStringList version10Schema()
{
    QStringList schema = version3Schema();
    schema[1] = QStringLiteral("insert into version values (0, 10)");
    schema << QStringLiteral("alter table prefs add column autoload int")
           << QStringLiteral("alter table prefs add column loadinterval int")
           << QStringLiteral("alter table prefs add column lookforupdate int")
           << QStringLiteral("update prefs set autoload=0, loadinterval=9, lookforupdate=0")
           << QStringLiteral("alter table regatta add column showcompletetracks int")
           << QStringLiteral("update regatta set showcompletetracks=1");
    return schema;
}

// The database work start-up does on an existing file.
void openAsStartupDoes(const QString &path, MessagePresenter &boxes)
{
    bool existed = false;
    QVERIFY(LocalDatabase::open(path, &existed));
    QVERIFY(existed);
    DatabaseSchema::createOrUpgrade(existed, boxes);
    LocalDatabase::ensureIndexes();
}

} // namespace

void SchemaTest::newFileGetsCurrentSchemaAndSeededRaces()
{
    TestDatabase db(QStringLiteral("new.db"), false);
    QVERIFY(db.isOpen());
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(false, boxes);

    QCOMPARE(boxes.shown().size(), 2);
    QCOMPARE(boxes.shown()[0].title, QStringLiteral("Initialisierung..."));
    QCOMPARE(boxes.shown()[0].text, QStringLiteral("Die Datenbank wird in der Version 1 neu angelegt.\n\n"));
    QCOMPARE(boxes.shown()[0].icon, MessagePresenter::Icon::Information);
    QCOMPARE(boxes.shown()[0].buttons, MessagePresenter::Buttons(MessageRequest::Ok));
    QCOMPARE(boxes.shown()[1].title, QStringLiteral("Update..."));
    QCOMPARE(boxes.shown()[1].text, updateText(1));
    QVERIFY(boxes.shown()[1].parent == nullptr);

    QList<QVariantList> expected = {
        race(1, 10, 88, "Round Zirkavento 2010", 1270458000, 1270764000, 0),
        race(2, 21, 120, "Round Zirkavento 2011", 1302905280, 1303509600, 0),
    };
    expected << seeded2024(3);
    QCOMPARE(SqlHelpers::rows(raceQuery), expected);
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{1, 1, 1, 5, 1}}));
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, version FROM version")), (QList<QVariantList>{{0, 23}}));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM ship")).toInt(), 0);
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM track")).toInt(), 0);
}

void SchemaTest::version3RunsLaterStepsThenSeeds2024()
{
    TestDatabase db(QStringLiteral("v3.db"), false);
    QVERIFY(SqlHelpers::exec(version3Schema()));
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(true, boxes);

    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Update...")});
    QCOMPARE(boxes.shown()[0].text, updateText(3));
    // Steps c, d and e ran; step b did not, so loadmaps keeps its stored 0.
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{1, 0, 1, 5, 1}}));
    QList<QVariantList> expected = {
        race(1, 10, 88, "Round Zirkavento 2010", 1270458000, 1270764000, 0),
        race(7, 21, 120, "Eigene Regatta", 1302905280, 1303509600, 0),
    };
    expected << seeded2024(8);
    QCOMPARE(SqlHelpers::rows(raceQuery), expected);
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT version FROM version WHERE id=0")).toInt(), 23);
}

void SchemaTest::version10Without2024RacesGetsThemAfterLargestId()
{
    TestDatabase db(QStringLiteral("v10.db"), false);
    QVERIFY(SqlHelpers::exec(version10Schema()));
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(true, boxes);

    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown()[0].text, updateText(10));
    // No step a to e ran: the stored preferences and race flags stay.
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{1, 0, 0, 9, 0}}));
    const QList<QVariantList> races = SqlHelpers::rows(raceQuery);
    QCOMPARE(races.size(), 5);
    QCOMPARE(races[1][6].toInt(), 1);
    QCOMPARE(races.mid(2), seeded2024(8));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT version FROM version WHERE id=0")).toInt(), 23);

    // Running again finds version 23 and the races: nothing is added twice.
    boxes.clear();
    DatabaseSchema::createOrUpgrade(true, boxes);
    QVERIFY(boxes.shown().isEmpty());
    QCOMPARE(SqlHelpers::rows(raceQuery).size(), 5);
}

void SchemaTest::currentOrNewerVersionIsLeftUntouched_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("23") << 23;
    QTest::newRow("24") << 24;
    QTest::newRow("100") << 100;
}

void SchemaTest::currentOrNewerVersionIsLeftUntouched()
{
    QFETCH(int, version);
    QString path;
    {
        TestDatabase db(QStringLiteral("current.db"), false);
        path = db.path();
        QStringList schema = version10Schema();
        schema[1] = QStringLiteral("insert into version values (0, %1)").arg(version);
        schema << QStringLiteral("insert into ship (id, regatta_id, name, lastget) values (7, 125, 'Bora', 1060)")
               << QStringLiteral("insert into track (ship_id, regatta_id, tstamp, lat, lng) values (7, 125, 1000, 43, 16)")
               << QStringLiteral("insert into track (ship_id, regatta_id, tstamp, lat, lng) values (7, 125, 1060, 43, 16)");
        QVERIFY(SqlHelpers::exec(schema));
    }
    TestDatabase::openExisting(path);
    const SqlHelpers::Dump before = SqlHelpers::dump();
    const QStringList indexesBefore = SqlHelpers::indexes();
    LocalDatabase::close();

    MessageRecorder boxes;
    openAsStartupDoes(path, boxes);
    // No box and no upgrade: what start-up adds is the unique position index, nothing else.
    QVERIFY(boxes.shown().isEmpty());
    QCOMPARE(SqlHelpers::dump(), before);
    QCOMPARE(SqlHelpers::indexes(), QStringList(indexesBefore) << QStringLiteral("track_ship_event_tstamp"));
    LocalDatabase::close();
}

void SchemaTest::repeatedPositionsAreRemovedOnceBeforeTheIndex()
{
    QString path;
    {
        TestDatabase db(QStringLiteral("repeats.db"), false);
        path = db.path();
        QStringList schema = version10Schema();
        schema[1] = QStringLiteral("insert into version values (0, 23)");
        schema << QStringLiteral("CREATE INDEX track_ship_event_time ON track (ship_id, regatta_id, tstamp, lat, lng)");
        const char *track = "insert into track (id, ship_id, regatta_id, tstamp, lat, lng) values ";
        for (const char *values : {"(1, 7, 125, 1000, 43.0, 16)", "(2, 7, 125, 1060, 43.1, 16)",
                                   "(3, 7, 125, 1000, 43.5, 16)", "(4, 8, 125, 1000, 44.0, 16)",
                                   "(5, 7, 126, 1000, 45.0, 16)", "(6, 7, 125, 1060, 43.6, 16)",
                                   "(7, 7, 125, 1000, 43.7, 16)"})
            schema << QLatin1String(track) + QLatin1String(values);
        QVERIFY(SqlHelpers::exec(schema));
    }
    LogCapture log;
    MessageRecorder boxes;
    openAsStartupDoes(path, boxes);
    // The first row of each boat, event and time stays.
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, lat FROM track ORDER BY id")),
             (QList<QVariantList>{{1, 43.0}, {2, 43.1}, {4, 44.0}, {5, 45.0}}));
    QVERIFY(log.containsPart(QStringLiteral("doppelte Positionen entfernt: 3")));
    QCOMPARE(SqlHelpers::indexes(),
             (QStringList{QStringLiteral("sqlite_autoindex_version_1"), QStringLiteral("track_ship_event_tstamp")}));
    // A repeat is refused by the table from now on.
    QVERIFY(!QSqlQuery().exec(QLatin1String("insert into track (ship_id, regatta_id, tstamp) values (7, 125, 1000)")));
    LocalDatabase::close();

    // Done once: the next start finds the index and removes nothing.
    LogCapture again;
    openAsStartupDoes(path, boxes);
    QVERIFY(!again.containsPart(QStringLiteral("doppelte Positionen")));
    QCOMPARE(SqlHelpers::scalar(QStringLiteral("SELECT count(*) FROM track")).toInt(), 4);
    LocalDatabase::close();
}

void SchemaTest::versionTableWithoutRowZeroCountsAsVersion1()
{
    TestDatabase db(QStringLiteral("norow.db"), false);
    QStringList schema = version10Schema();
    schema[1] = QStringLiteral("insert into version values (5, 22)");
    QVERIFY(SqlHelpers::exec(schema));
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(true, boxes);

    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown()[0].text, updateText(1));
    // Steps a to e ran again over the existing columns: the value updates took effect.
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{0, 1, 5, 1}}));
    // The version update has no WHERE: every row of the table now reads 23.
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, version FROM version")), (QList<QVariantList>{{5, 23}}));
}

void SchemaTest::emptyRegattaTableSeeds2024RacesFrom2024()
{
    TestDatabase db(QStringLiteral("noraces.db"), false);
    QStringList schema = version10Schema();
    schema.removeIf([](const QString &s) { return s.startsWith(QStringLiteral("insert into regatta")); });
    QVERIFY(SqlHelpers::exec(schema));
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(true, boxes);
    QCOMPARE(SqlHelpers::rows(raceQuery), seeded2024(2024));
}

void SchemaTest::emptyFileIsCreatedAsNew()
{
    // A start killed at its first box leaves a file of 0 bytes behind; it holds no database.
    QString path = TestEnvironment::freshFolder(QStringLiteral("emptyfile")) + QStringLiteral("/empty.db");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    MessageRecorder boxes;
    bool existed = true;
    QVERIFY(LocalDatabase::open(path, &existed));
    QVERIFY(!existed);
    DatabaseSchema::createOrUpgrade(existed, boxes);

    QCOMPARE(boxes.titles(), (QStringList{QStringLiteral("Initialisierung..."), QStringLiteral("Update...")}));
    QCOMPARE(SqlHelpers::rows(raceQuery).size(), 5);
    QCOMPARE(SqlHelpers::rows(QStringLiteral("SELECT id, loadmaps, autoload, loadinterval, lookforupdate FROM prefs")),
             (QList<QVariantList>{{1, 1, 1, 5, 1}}));
    LocalDatabase::close();
}

void SchemaTest::fileWithoutTablesGetsOnlyPrefs()
{
    // A database without the program's tables is an old file: it is upgraded from version 1,
    // which creates only the prefs table.
    TestDatabase db(QStringLiteral("foreign.db"), false);
    QVERIFY(SqlHelpers::exec({QStringLiteral("create table notes (text varchar(10))")}));
    MessageRecorder boxes;
    DatabaseSchema::createOrUpgrade(true, boxes);
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boxes.shown()[0].text, updateText(1));
    QCOMPARE(SqlHelpers::tables(), (QStringList{QStringLiteral("notes"), QStringLiteral("prefs")}));
}

void SchemaTest::fileThatIsNoDatabaseIsRefusedAndKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray random(4096, '\0');
    QRandomGenerator generator(42);
    for (char &c : random)
        c = static_cast<char>(generator.bounded(256));
    QTest::newRow("random bytes") << random;
    QTest::newRow("truncated header") << QByteArray("SQLite format 3\0\x10\x00", 19);
    QTest::newRow("text") << QByteArray("this is a note, not a database\n");
}

void SchemaTest::fileThatIsNoDatabaseIsRefusedAndKept()
{
    QFETCH(QByteArray, content);
    const QString path = TestEnvironment::freshFolder(QStringLiteral("garbage")) + QStringLiteral("/g.db");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    bool existed = false;
    QVERIFY(!LocalDatabase::open(path, &existed));
    QVERIFY(existed);
    LocalDatabase::close();

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}
