#pragma once

#include "store/PositionRow.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Stores boats' positions from answers of the tracking server, so that each position is kept
// exactly once and lastget never claims more than is stored: the positions and the new
// lastget are one transaction, a position the table already holds is refused by its unique
// index, and any other failure rolls the whole answer back.
class PositionStore
{
public:
    struct Outcome
    {
        bool ok = true;
        // The database's reason when the answer was rolled back.
        QString error;
        // Indexes into the rows given, of the positions that are new in the table.
        std::vector<int> inserted;
        // Positions the table already held.
        int duplicates = 0;
        // The boat's lastget after the answer, written to table ship when the answer held a
        // stored position: the later of the lastget before and the newest time stored.
        qint32 lastget = 0;
    };

    // One answer: a boat's positions in any order. alreadyStoredNewest is the newest time of
    // positions of the answer the caller knows to be stored and left out of rows (0 if none).
    struct Answer
    {
        int shipId = 0;
        int eventId = 0;
        qint32 lastget = 0;
        const std::vector<PositionRow> *rows = nullptr;
        qint32 alreadyStoredNewest = 0;
    };

    // Writes through that connection, keeping its statements prepared from one answer to
    // the next.
    explicit PositionStore(const QSqlDatabase &db);
    ~PositionStore();
    PositionStore(const PositionStore &) = delete;
    PositionStore &operator=(const PositionStore &) = delete;

    // rows in any order. alreadyStoredNewest is the newest time of positions of the answer the
    // caller knows to be stored and left out of rows (0 if none).
    Outcome write(int shipId, int eventId, qint32 lastget, const std::vector<PositionRow> &rows,
                  qint32 alreadyStoredNewest = 0);
    // Several answers in one transaction, which costs one commit instead of one each. A
    // failure keeps none of them: each outcome then carries the error and its old lastget.
    std::vector<Outcome> writeAll(const std::vector<Answer> &answers);

    // Once, through the default connection.
    static Outcome store(int shipId, int eventId, qint32 lastget, const std::vector<PositionRow> &rows,
                         qint32 alreadyStoredNewest = 0);

private:
    // Inserts one answer inside the open transaction; false on a failure other than a repeat.
    bool insert(const Answer &answer, Outcome &outcome);
    std::vector<Outcome> failedAll(const std::vector<Answer> &answers, const QString &error);
    // The connection's own SQLite handle, the statements prepared on it.
    bool prepare(QString *error);
    QString sqliteError() const;

    QSqlDatabase m_db;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_insert = nullptr;
    sqlite3_stmt *m_update = nullptr;
};
