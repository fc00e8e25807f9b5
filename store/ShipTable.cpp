#include "store/ShipTable.h"

#include "store/Sql.h"
#include "store/SqliteHandle.h"

#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

ReadResult ShipTable::ofEvent(int eventId, QList<ShipRow> *rows)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(Sql::Ship::selectOfEvent);
    query.bindValue(QStringLiteral(":regatta_id"), eventId);
    if (!query.exec())
        return ReadResult::Failed;
    if (!query.next())
        return ReadResult::Empty;
    do {
        ShipRow row;
        row.id = query.value(0).toInt();
        row.regattaId = query.value(1).toInt();
        row.klasse = query.value(2).toString();
        row.name = query.value(3).toString();
        row.team = query.value(4).toString();
        row.skipper = query.value(5).toString();
        row.startnr = query.value(6).toString();
        row.farbe = query.value(7).toString();
        row.show = query.value(8).toBool();
        row.follow = query.value(9).toBool();
        row.lastget = query.value(10).toInt();
        rows->append(row);
    } while (query.next());
    return ReadResult::Rows;
}

ReadResult ShipTable::positionsOf(int shipId, int eventId, std::vector<PositionRow> *positions)
{
    // Straight from SQLite: a big race loads millions of positions, and reading each value
    // through the driver's variants takes longer than the query.
    sqlite3 *db = SqliteHandle::of(QSqlDatabase::database());
    sqlite3_stmt *query = nullptr;
    if (!db || sqlite3_prepare_v2(db, Sql::Track::selectOfShip.toUtf8().constData(), -1, &query, nullptr) != SQLITE_OK)
        return ReadResult::Failed;
    sqlite3_bind_int(query, 1, shipId);
    sqlite3_bind_int(query, 2, eventId);
    const size_t before = positions->size();
    int step;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        PositionRow p;
        p.lat = sqlite3_column_double(query, 0);
        p.lng = sqlite3_column_double(query, 1);
        p.time = sqlite3_column_int(query, 2);
        positions->push_back(p);
    }
    sqlite3_finalize(query);
    if (step != SQLITE_DONE) {
        positions->resize(before);
        return ReadResult::Failed;
    }
    return positions->size() > before ? ReadResult::Rows : ReadResult::Empty;
}
