#include "store/PositionStore.h"

#include "store/Sql.h"
#include "store/SqliteHandle.h"

#include <QSqlError>

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

PositionStore::Outcome PositionStore::failed(const QString &error, qint32 lastget)
{
    m_db.rollback();
    Outcome outcome;
    outcome.ok = false;
    outcome.error = error;
    outcome.lastget = lastget;
    return outcome;
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
    QString error;
    if (!prepare(&error))
        return failed(error, lastget);
    if (!m_db.transaction())
        return failed(m_db.lastError().text(), lastget);
    Outcome outcome;
    qint32 newest = alreadyStoredNewest;
    // Placeholders in the statement's order: ship_id, regatta_id, lat, lng, tstamp.
    sqlite3_bind_int(m_insert, 1, shipId);
    sqlite3_bind_int(m_insert, 2, eventId);
    for (int i = 0; i < int(rows.size()); ++i) {
        const PositionRow &row = rows[size_t(i)];
        sqlite3_bind_double(m_insert, 3, row.lat);
        sqlite3_bind_double(m_insert, 4, row.lng);
        sqlite3_bind_int(m_insert, 5, row.time);
        const int step = sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
        if (step == SQLITE_DONE)
            outcome.inserted.push_back(i);
        else if ((step & 0xff) == SQLITE_CONSTRAINT)
            ++outcome.duplicates;
        else
            return failed(sqliteError(), lastget);
        newest = std::max(newest, row.time);
    }
    outcome.lastget = lastget;
    if (newest > 0) {
        // Older positions fill gaps but never move lastget back: it was asked for from there.
        outcome.lastget = std::max(lastget, newest);
        sqlite3_bind_int(m_update, 1, outcome.lastget);
        sqlite3_bind_int(m_update, 2, shipId);
        const int step = sqlite3_step(m_update);
        sqlite3_reset(m_update);
        if (step != SQLITE_DONE)
            return failed(sqliteError(), lastget);
    }
    if (!m_db.commit())
        return failed(m_db.lastError().text(), lastget);
    return outcome;
}
