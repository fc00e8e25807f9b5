#pragma once

#include <QString>

// Every SQL text the program runs, by table. Other folders call these instead of
// writing SQL of their own, so the schema and its users cannot drift apart.
namespace Sql {

inline constexpr int schemaVersion = 23;

namespace Version {
inline const QString create = QStringLiteral("create table version (id int primary key,version int)");
inline const QString insert = QStringLiteral("INSERT INTO version (id, version) VALUES (0, :version)");
inline const QString select = QStringLiteral("SELECT version FROM version WHERE id=0");
inline const QString update = QStringLiteral("UPDATE version SET version=:version");
}

namespace Regatta {
inline const QString create = QStringLiteral(
    "create table regatta (id INTEGER primary key,event_id int, task_id int, name varchar(100), von int, bis int)");
inline const QString insertRace2010 = QStringLiteral(
    "insert into regatta values(1, 10, 88, 'Round Zirkavento 2010', 1270458000, 1270764000)");
inline const QString insertRace2011 = QStringLiteral(
    "insert into regatta values(2, 21,120, 'Round Zirkavento 2011', 1302905280, 1303509600)");
inline const QString selectMaxId = QStringLiteral("SELECT MAX(id) FROM regatta");
inline const QString select2024 = QStringLiteral("SELECT id FROM regatta WHERE event_id=125 AND task_id=279");
inline const QString insert2024Test = QStringLiteral(
    "insert into regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
    "values(:id, :event_id, :task_id, 'Round Zirkavento 2024 , Test', :von, :bis, 0)");
inline const QString insert2024Training = QStringLiteral(
    "insert into regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
    "values(:id, :event_id, :task_id, 'Round Zirkavento 2024 , Das Training', :von, :bis, 0)");
inline const QString insert2024Race = QStringLiteral(
    "insert into regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
    "values(:id, :event_id, :task_id, 'Round Zirkavento 2024 , Das Rennen', :von, :bis, 0)");
inline const QString selectAll = QStringLiteral(
    "SELECT id, event_id, task_id, name, von, bis, showcompletetracks FROM regatta ORDER BY von");
inline const QString updateShowCompleteTracks = QStringLiteral(
    "UPDATE regatta SET showcompletetracks=:showcompletetracks WHERE id=:regatta_id");
// A race of one's own (the program itself only seeds races): the id after the largest.
inline const QString insertNext = QStringLiteral(
    "INSERT INTO regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
    "VALUES ((SELECT IFNULL(MAX(id), 0) + 1 FROM regatta), :event_id, :task_id, :name, :von, :bis, 0)");
}

namespace Ship {
inline const QString create = QStringLiteral(
    "create table ship (id INTEGER primary key,regatta_id int, name varchar(100), skipper varchar(100), "
    "team varchar(100), klasse varchar(100), startnr varchar(100), farbe varchar(7), lastget int, "
    "show boolean, follow boolean)");
inline const QString selectOfEvent = QStringLiteral(
    "SELECT id, regatta_id, klasse, name, team, skipper, startnr, farbe, show, follow, lastget FROM ship "
    "WHERE regatta_id=:regatta_id ORDER BY klasse, CAST(startnr AS INTEGER)");
inline const QString exists = QStringLiteral("SELECT id FROM ship WHERE id=:id AND regatta_id=:regatta_id");
inline const QString insert = QStringLiteral(
    "INSERT INTO ship (id, regatta_id, name, skipper, team, klasse, farbe, startnr, show, follow, lastget) "
    "VALUES (:id, :regatta_id, :name, :skipper, :team, :klasse, :farbe, :startnr, :show, :follow, :tsmin)");
inline const QString update = QStringLiteral(
    "UPDATE ship SET name=:name, team=:team, skipper=:skipper, klasse=:klasse, farbe=:farbe, "
    "startnr=:startnr, lastget=0 WHERE id=:id AND regatta_id=:regatta_id");
inline const QString updateLastget = QStringLiteral("UPDATE ship SET lastget=:lastget WHERE id=:ship_id");
inline const QString updateShowFollow = QStringLiteral(
    "UPDATE ship SET show=:show, follow=:follow WHERE id=:id");
inline const QString unfollowEvent = QStringLiteral("UPDATE ship SET follow='false' WHERE regatta_id=:id");
inline const QString updateFollow = QStringLiteral("UPDATE ship SET follow=:follow WHERE id=:id");
// The event a boat id is stored under; a boat id is the key across all events.
inline const QString selectEventOf = QStringLiteral("SELECT regatta_id FROM ship WHERE id=:id");
}

namespace Track {
inline const QString create = QStringLiteral(
    "create table track (id INTEGER PRIMARY KEY, ship_id INTEGER, regatta_id int, tstamp int, "
    "lat numeric(9,6), lng numeric(9,6))");
inline const QString selectOfShip = QStringLiteral(
    "SELECT lat, lng, tstamp FROM track WHERE ship_id=:ship_id AND regatta_id=:regatta_id ORDER BY tstamp");
inline const QString deleteOfShip = QStringLiteral(
    "DELETE FROM track WHERE ship_id=:ship_id AND regatta_id=:regatta_id");
inline const QString insert = QStringLiteral(
    "INSERT INTO track (ship_id, regatta_id, lat, lng, tstamp) VALUES (:ship_id, :regatta_id, :lat, :lng, :tstamp)");
// An earlier covering index; the unique index below serves loading as well, at a third of
// the extra file size.
inline const QString dropCoveringIndex = QStringLiteral("DROP INDEX IF EXISTS track_ship_event_time");
// One row per boat, event and time: a position sent again is refused by the table itself. It
// also lets a boat's track be read as a range instead of a scan of every stored position.
inline const QString uniqueIndexName = QStringLiteral("track_ship_event_tstamp");
inline const QString createUniqueIndex = QStringLiteral(
    "CREATE UNIQUE INDEX IF NOT EXISTS track_ship_event_tstamp ON track (ship_id, regatta_id, tstamp)");
// Keeps the first row of each boat, event and time; run once before the unique index exists.
inline const QString removeDuplicates = QStringLiteral(
    "DELETE FROM track WHERE id NOT IN (SELECT MIN(id) FROM track GROUP BY ship_id, regatta_id, tstamp)");
}

namespace Master {
inline const QString hasIndex = QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND name=:name");
// Read-only check: a change that is rolled back at once.
inline const QString writeProbe = QStringLiteral("CREATE TABLE brisavela_write_probe (x int)");
}

namespace Prefs {
inline const QString create = QStringLiteral("create table prefs (id INTEGER primary key, loadmaps int)");
inline const QString selectLoadMaps = QStringLiteral("SELECT loadmaps FROM prefs WHERE id=1");
inline const QString selectLoadInterval = QStringLiteral("SELECT loadinterval FROM prefs WHERE id=1");
inline const QString selectAutoLoad = QStringLiteral("SELECT autoload FROM prefs WHERE id=1");
inline const QString selectLookForUpdate = QStringLiteral("SELECT lookforupdate FROM prefs WHERE id=1");
inline const QString updateLoadMaps = QStringLiteral("UPDATE prefs SET loadmaps=:loadmaps WHERE id=1");
inline const QString updateAutoLoad = QStringLiteral("UPDATE prefs SET autoload=:autoload WHERE id=1");
inline const QString updateLookForUpdate = QStringLiteral(
    "UPDATE prefs SET lookforupdate=:lookforupdate WHERE id=1");
// The program has no control for it; set up from outside (the demo fetches every minute).
inline const QString updateLoadInterval = QStringLiteral("UPDATE prefs SET loadinterval=:loadinterval WHERE id=1");
}

} // namespace Sql

namespace Sql::Upgrade {
// Schema history: each step runs when the stored version is at most its threshold.
struct Step
{
    int threshold;
    const char *const *statements;
    int count;
};

inline constexpr const char *stepA[] = {
    "alter table regatta add column von int",
    "alter table regatta add column bis int",
    "alter table ship add column lastget int",
    "update ship set lastget=0",
};
inline constexpr const char *stepB[] = {
    "create table prefs (id INTEGER primary key, loadmaps int)",
    "insert into prefs (id, loadmaps) values (1, 1)",
};
inline constexpr const char *stepC[] = {
    "alter table prefs add column autoload int",
    "update prefs set autoload=1 where id=1",
};
inline constexpr const char *stepD[] = {
    "alter table prefs add column loadinterval int",
    "update prefs set loadinterval=5 where id=1",
};
inline constexpr const char *stepE[] = {
    "alter table prefs add column lookforupdate int",
    "update prefs set lookforupdate=1 where id=1",
    "alter table regatta add column showcompletetracks int",
    "update regatta set showcompletetracks=0",
};
inline constexpr Step steps[] = {
    {1, stepA, 4}, {2, stepB, 2}, {3, stepC, 2}, {4, stepD, 2}, {5, stepE, 4},
};
} // namespace Sql::Upgrade
