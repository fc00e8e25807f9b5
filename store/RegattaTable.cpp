#include "store/RegattaTable.h"

#include "store/Sql.h"

#include <QSqlQuery>
#include <QVariant>

std::optional<QList<Race>> RegattaTable::all()
{
    QSqlQuery query;
    if (!query.exec(Sql::Regatta::selectAll))
        return std::nullopt;
    QList<Race> races;
    while (query.next()) {
        Race race;
        race.id = query.value(0).toInt();
        race.eventId = query.value(1).toInt();
        race.taskId = query.value(2).toInt();
        race.name = query.value(3).toString();
        race.von = query.value(4).toInt();
        race.bis = query.value(5).toInt();
        race.showCompleteTracks = query.value(6).toInt() == 1;
        races.append(race);
    }
    return races;
}

bool RegattaTable::setShowCompleteTracks(int raceId, bool on)
{
    QSqlQuery query;
    query.prepare(Sql::Regatta::updateShowCompleteTracks);
    query.bindValue(QStringLiteral(":showcompletetracks"), on ? 1 : 0);
    query.bindValue(QStringLiteral(":regatta_id"), raceId);
    return query.exec();
}

bool RegattaTable::append(const Race &race)
{
    QSqlQuery query;
    query.prepare(Sql::Regatta::insertNext);
    query.bindValue(QStringLiteral(":event_id"), race.eventId);
    query.bindValue(QStringLiteral(":task_id"), race.taskId);
    query.bindValue(QStringLiteral(":name"), race.name);
    query.bindValue(QStringLiteral(":von"), race.von);
    query.bindValue(QStringLiteral(":bis"), race.bis);
    return query.exec();
}
