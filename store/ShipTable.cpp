#include "store/ShipTable.h"

#include "store/Sql.h"

#include <QSqlQuery>
#include <QVariant>

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
    int refused = 0;
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
        // The file may have been written by another program or an older version. A row
        // the tracking server's lines could not have given is left out: as the position of
        // a followed boat it would become the chart's centre.
        bool latOk = false;
        bool lngOk = false;
        bool timeOk = false;
        const QVariant latValue = query.value(0);
        const QVariant lngValue = query.value(1);
        const double lat = latValue.toDouble(&latOk);
        const double lng = lngValue.toDouble(&lngOk);
        const qlonglong time = query.value(2).toLongLong(&timeOk);
        if (latValue.isNull() || lngValue.isNull() || !latOk || !lngOk || !timeOk || !(lat >= -90 && lat <= 90)
            || !(lng >= -180 && lng <= 180) || time <= 0 || time > std::numeric_limits<qint32>::max()) {
            ++refused;
            continue;
        }
        PositionRow p;
        p.lat = lat;
        p.lng = lng;
        p.time = qint32(time);
        positions->push_back(p);
    } while (query.next());
    if (leftOut)
        *leftOut = refused;
    return ReadResult::Rows;
}
