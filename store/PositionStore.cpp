#include "store/PositionStore.h"

#include "store/LocalDatabase.h"
#include "store/Sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

PositionStore::PositionStore(const QSqlDatabase &db)
    : m_db(db)
{
}

PositionStore::~PositionStore() = default;

PositionStore::Outcome PositionStore::store(int shipId, int eventId, qint32 lastget,
                                            const std::vector<PositionRow> &rows, qint32 alreadyStoredNewest)
{
    PositionStore writer(QSqlDatabase::database());
    return writer.write(shipId, eventId, lastget, rows, alreadyStoredNewest);
}

PositionStore::Outcome PositionStore::failed(const QString &error, qint32 lastget)
{
    m_db.rollback();
    Outcome outcome;
    outcome.ok = false;
    outcome.error = error;
    outcome.lastget = lastget;
    return outcome;
}

PositionStore::Outcome PositionStore::write(int shipId, int eventId, qint32 lastget,
                                            const std::vector<PositionRow> &rows, qint32 alreadyStoredNewest)
{
    if (!m_db.transaction())
        return failed(m_db.lastError().text(), lastget);
    if (!m_insert) {
        m_insert = std::make_unique<QSqlQuery>(m_db);
        m_update = std::make_unique<QSqlQuery>(m_db);
        for (const auto &[query, sql] : {std::pair{m_insert.get(), &Sql::Track::insert},
                                         std::pair{m_update.get(), &Sql::Ship::updateLastget}}) {
            if (!query->prepare(*sql)) {
                const QString error = query->lastError().text();
                m_insert.reset();
                m_update.reset();
                return failed(error, lastget);
            }
        }
    }
    Outcome outcome;
    qint32 newest = alreadyStoredNewest;
    QSqlQuery &insert = *m_insert;
    // Bound by position, in the order of the statement's placeholders: looking names up
    // costs more than the insert itself.
    insert.bindValue(0, shipId);
    insert.bindValue(1, eventId);
    for (int i = 0; i < int(rows.size()); ++i) {
        const PositionRow &row = rows[size_t(i)];
        insert.bindValue(2, row.lat);
        insert.bindValue(3, row.lng);
        insert.bindValue(4, row.time);
        if (insert.exec())
            outcome.inserted.push_back(i);
        else if (LocalDatabase::isConstraintViolation(insert.lastError()))
            ++outcome.duplicates;
        else
            return failed(insert.lastError().text(), lastget);
        newest = std::max(newest, row.time);
    }
    insert.finish();
    outcome.lastget = lastget;
    if (newest > 0) {
        // Older positions fill gaps but never move lastget back: it was asked for from there.
        outcome.lastget = std::max(lastget, newest);
        QSqlQuery &update = *m_update;
        update.bindValue(0, outcome.lastget);
        update.bindValue(1, shipId);
        const bool updated = update.exec();
        update.finish();
        if (!updated)
            return failed(update.lastError().text(), lastget);
    }
    if (!m_db.commit())
        return failed(m_db.lastError().text(), lastget);
    return outcome;
}
