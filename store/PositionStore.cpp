#include "store/PositionStore.h"

#include "store/Sql.h"
#include "store/SqliteHandle.h"


#include <sqlite3.h>

#include <algorithm>

PositionStore::PositionStore(const QSqlDatabase &db)
    : m_db(db)
{
}

PositionStore::~PositionStore()
{
    // Before the connection closes: it refuses to while statements are open.
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_update);
}

PositionStore::Outcome PositionStore::store(int shipId, int eventId, qint32 lastget,
                                            const std::vector<PositionRow> &rows, qint32 alreadyStoredNewest)
{
    PositionStore writer(QSqlDatabase::database());
    return writer.write(shipId, eventId, lastget, rows, alreadyStoredNewest);
}

std::vector<PositionStore::Outcome> PositionStore::failedAll(const std::vector<Answer> &answers,
                                                             const QString &error)
{
    if (m_handle && !sqlite3_get_autocommit(m_handle))
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
    std::vector<Outcome> outcomes(answers.size());
    for (size_t i = 0; i < answers.size(); ++i) {
        outcomes[i].ok = false;
        outcomes[i].error = error;
        outcomes[i].lastget = answers[i].lastget;
    }
    return outcomes;
}

QString PositionStore::sqliteError() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_handle));
}

bool PositionStore::prepare(QString *error)
{
    if (m_insert)
        return true;
    // The positions go straight to SQLite on the connection's handle: binding through the
    // driver costs more than the inserts themselves, and a fetch of a big race brings
    // hundreds of thousands.
    m_handle = SqliteHandle::of(m_db);
    if (!m_handle) {
        *error = QStringLiteral("keine offene SQLite-Datenbank");
        return false;
    }
    auto prepareOne = [this](const QString &sql, sqlite3_stmt **statement) {
        // SQLite's own placeholders are named like the driver's (":name"), so the texts stay.
        return sqlite3_prepare_v2(m_handle, sql.toUtf8().constData(), -1, statement, nullptr) == SQLITE_OK;
    };
    if (!prepareOne(Sql::Track::insert, &m_insert) || !prepareOne(Sql::Ship::updateLastget, &m_update)) {
        *error = sqliteError();
        sqlite3_finalize(m_insert);
        sqlite3_finalize(m_update);
        m_insert = m_update = nullptr;
        return false;
    }
    return true;
}

PositionStore::Outcome PositionStore::write(int shipId, int eventId, qint32 lastget,
                                            const std::vector<PositionRow> &rows, qint32 alreadyStoredNewest)
{
    return writeAll({Answer{shipId, eventId, lastget, &rows, alreadyStoredNewest}}).front();
}

std::vector<PositionStore::Outcome> PositionStore::writeAll(const std::vector<Answer> &answers)
{
    QString error;
    if (!prepare(&error))
        return failedAll(answers, error);
    if (sqlite3_exec(m_handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failedAll(answers, sqliteError());
    std::vector<Outcome> outcomes(answers.size());
    for (size_t i = 0; i < answers.size(); ++i) {
        // A database that refuses one answer refuses the next as well (locked, read-only,
        // full); trying them all would only wait out the busy timeout again and again.
        if (!insert(answers[i], outcomes[i]))
            return failedAll(answers, sqliteError());
    }
    if (sqlite3_exec(m_handle, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failedAll(answers, sqliteError());
    return outcomes;
}

bool PositionStore::insert(const Answer &answer, Outcome &outcome)
{
    const std::vector<PositionRow> &rows = *answer.rows;
    qint32 newest = answer.alreadyStoredNewest;
    // Placeholders in the statement's order: ship_id, regatta_id, lat, lng, tstamp.
    sqlite3_bind_int(m_insert, 1, answer.shipId);
    sqlite3_bind_int(m_insert, 2, answer.eventId);
    for (int i = 0; i < int(rows.size()); ++i) {
        const PositionRow &row = rows[size_t(i)];
        sqlite3_bind_double(m_insert, 3, row.lat);
        sqlite3_bind_double(m_insert, 4, row.lng);
        sqlite3_bind_int(m_insert, 5, row.time);
        const int step = sqlite3_step(m_insert);
        const int detail = sqlite3_extended_errcode(m_handle);
        sqlite3_reset(m_insert);
        // Only the unique index's refusal means "stored already"; any other rule the
        // table enforces is a failure like any other.
        if (step == SQLITE_DONE)
            outcome.inserted.push_back(i);
        else if (detail == SQLITE_CONSTRAINT_UNIQUE || detail == SQLITE_CONSTRAINT_PRIMARYKEY)
            ++outcome.duplicates;
        else
            return false;
        newest = std::max(newest, row.time);
    }
    outcome.lastget = answer.lastget;
    if (newest > 0) {
        // Older positions fill gaps but never move lastget back: it was asked for from there.
        outcome.lastget = std::max(answer.lastget, newest);
        sqlite3_bind_int(m_update, 1, outcome.lastget);
        sqlite3_bind_int(m_update, 2, answer.shipId);
        const int step = sqlite3_step(m_update);
        sqlite3_reset(m_update);
        if (step != SQLITE_DONE)
            return false;
    }
    return true;
}
