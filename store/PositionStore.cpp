#include "store/PositionStore.h"

#include "store/LocalDatabase.h"
#include "store/Sql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
PositionStore::Outcome failed(QSqlDatabase &db, const QString &error, qint32 lastget)
{
    db.rollback();
    PositionStore::Outcome outcome;
    outcome.ok = false;
    outcome.error = error;
    outcome.lastget = lastget;
    return outcome;
}
} // namespace

PositionStore::Outcome PositionStore::store(int shipId, int eventId, qint32 lastget,
                                            const std::vector<PositionRow> &rows, qint32 alreadyStoredNewest)
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction())
        return failed(db, db.lastError().text(), lastget);
    Outcome outcome;
    qint32 newest = alreadyStoredNewest;
    {
        QSqlQuery insert(db);
        if (!insert.prepare(Sql::Track::insert))
            return failed(db, insert.lastError().text(), lastget);
        for (int i = 0; i < int(rows.size()); ++i) {
            const PositionRow &row = rows[size_t(i)];
            insert.bindValue(QStringLiteral(":ship_id"), shipId);
            insert.bindValue(QStringLiteral(":regatta_id"), eventId);
            insert.bindValue(QStringLiteral(":lat"), row.lat);
            insert.bindValue(QStringLiteral(":lng"), row.lng);
            insert.bindValue(QStringLiteral(":tstamp"), row.time);
            if (insert.exec())
                outcome.inserted.push_back(i);
            else if (LocalDatabase::isConstraintViolation(insert.lastError()))
                ++outcome.duplicates;
            else
                return failed(db, insert.lastError().text(), lastget);
            newest = std::max(newest, row.time);
        }
    }
    outcome.lastget = lastget;
    if (newest > 0) {
        // Older positions fill gaps but never move lastget back: it was asked for from there.
        outcome.lastget = std::max(lastget, newest);
        QSqlQuery update(db);
        update.prepare(Sql::Ship::updateLastget);
        update.bindValue(QStringLiteral(":lastget"), outcome.lastget);
        update.bindValue(QStringLiteral(":ship_id"), shipId);
        if (!update.exec())
            return failed(db, update.lastError().text(), lastget);
    }
    if (!db.commit())
        return failed(db, db.lastError().text(), lastget);
    return outcome;
}
