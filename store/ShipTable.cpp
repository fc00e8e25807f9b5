#include "store/ShipTable.h"

#include "store/Sql.h"

#include <QSqlQuery>
#include <QVariant>

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
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(Sql::Track::selectOfShip);
    query.bindValue(QStringLiteral(":ship_id"), shipId);
    query.bindValue(QStringLiteral(":regatta_id"), eventId);
    if (!query.exec())
        return ReadResult::Failed;
    if (!query.next())
        return ReadResult::Empty;
    do {
        PositionRow p;
        p.lat = query.value(0).toDouble();
        p.lng = query.value(1).toDouble();
        p.time = query.value(2).toInt();
        positions->push_back(p);
    } while (query.next());
    return ReadResult::Rows;
}
