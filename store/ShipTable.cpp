#include "store/ShipTable.h"

#include "store/Sql.h"
#include "store/SqliteHandle.h"

#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <limits>

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

ReadResult ShipTable::positionsOf(int shipId, int eventId, std::vector<PositionRow> *positions, int *leftOut)
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
    int rows = 0;
    int refused = 0;
    auto isNumber = [query](int column) {
        const int type = sqlite3_column_type(query, column);
        return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    };
    int step;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        ++rows;
        // The file may have been written by another program or an older version. A row
        // the tracking server's lines could not have given is left out: as the position of
        // a followed boat it would become the chart's centre.
        const double lat = sqlite3_column_double(query, 0);
        const double lng = sqlite3_column_double(query, 1);
        const qint64 time = sqlite3_column_int64(query, 2);
        if (!isNumber(0) || !isNumber(1) || !isNumber(2) || !(lat >= -90 && lat <= 90) || !(lng >= -180 && lng <= 180)
            || time <= 0 || time > std::numeric_limits<qint32>::max()) {
            ++refused;
            continue;
        }
        positions->push_back({lat, lng, qint32(time), 0});
    }
    sqlite3_finalize(query);
    if (step != SQLITE_DONE) {
        positions->resize(before);
        return ReadResult::Failed;
    }
    if (leftOut)
        *leftOut = refused;
    return rows > 0 ? ReadResult::Rows : ReadResult::Empty;
}
