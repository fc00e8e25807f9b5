#pragma once

#include "store/BoatRow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Stores a boat list in one transaction: each listed boat is inserted or updated, and its
// positions of the event are cleared so that they are fetched again from the start.
class BoatListStore
{
public:
    enum class Write { Inserted, Updated, OtherEvent, Failed };

    // Starts the transaction; false (see error()) when the database cannot be written.
    bool begin();
    // Whether the boat is stored under that event; a query that fails counts as "no".
    bool exists(int id, int eventId);
    // Inserts or updates the boat. OtherEvent: the id is stored under another event
    // (storedEvent()), which the table's key does not allow twice; nothing was written.
    Write write(const BoatRow &boat, const QString &farbe, bool known);
    bool clearTrack(int shipId, int eventId);
    bool commit();
    void rollback();

    QString error() const { return m_error; }
    int storedEvent() const { return m_storedEvent; }

private:
    bool fail(const QSqlQuery &query);

    QSqlDatabase m_db;
    QSqlQuery m_exists;
    QSqlQuery m_insert;
    QSqlQuery m_update;
    QSqlQuery m_clear;
    QString m_error;
    int m_storedEvent = 0;
};
