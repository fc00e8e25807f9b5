#include "store/BoatListStore.h"

#include "store/LocalDatabase.h"
#include "store/Sql.h"

#include <QSqlError>
#include <QVariant>

bool BoatListStore::begin()
{
    m_db = QSqlDatabase::database();
    if (!m_db.transaction()) {
        m_error = m_db.lastError().text();
        return false;
    }
    m_exists = QSqlQuery(m_db);
    m_insert = QSqlQuery(m_db);
    m_update = QSqlQuery(m_db);
    m_clear = QSqlQuery(m_db);
    m_exists.prepare(Sql::Ship::exists);
    m_insert.prepare(Sql::Ship::insert);
    m_update.prepare(Sql::Ship::update);
    m_clear.prepare(Sql::Track::deleteOfShip);
    return true;
}

bool BoatListStore::exists(int id, int eventId)
{
    m_exists.bindValue(QStringLiteral(":id"), id);
    m_exists.bindValue(QStringLiteral(":regatta_id"), eventId);
    const bool known = m_exists.exec() && m_exists.next();
    m_exists.finish();
    return known;
}

BoatListStore::Write BoatListStore::write(const BoatRow &boat, const QString &farbe, bool known)
{
    QSqlQuery &query = known ? m_update : m_insert;
    query.bindValue(QStringLiteral(":id"), boat.id);
    query.bindValue(QStringLiteral(":regatta_id"), boat.raceId);
    query.bindValue(QStringLiteral(":name"), boat.name);
    query.bindValue(QStringLiteral(":team"), boat.team);
    query.bindValue(QStringLiteral(":skipper"), boat.skipper);
    query.bindValue(QStringLiteral(":klasse"), boat.klasse);
    query.bindValue(QStringLiteral(":startnr"), boat.startnr);
    query.bindValue(QStringLiteral(":farbe"), farbe);
    if (!known) {
        query.bindValue(QStringLiteral(":show"), true);
        query.bindValue(QStringLiteral(":follow"), false);
        query.bindValue(QStringLiteral(":tsmin"), boat.firstTime);
    }
    if (query.exec())
        return known ? Write::Updated : Write::Inserted;
    if (!known && LocalDatabase::isConstraintViolation(query.lastError())) {
        QSqlQuery owner(m_db);
        owner.prepare(Sql::Ship::selectEventOf);
        owner.bindValue(QStringLiteral(":id"), boat.id);
        m_storedEvent = owner.exec() && owner.next() ? owner.value(0).toInt() : 0;
        // The look-up of the boat failed before, but it is stored under this event after all.
        if (m_storedEvent == boat.raceId)
            return write(boat, farbe, true);
        return Write::OtherEvent;
    }
    fail(query);
    return Write::Failed;
}

bool BoatListStore::clearTrack(int shipId, int eventId)
{
    m_clear.bindValue(QStringLiteral(":ship_id"), shipId);
    m_clear.bindValue(QStringLiteral(":regatta_id"), eventId);
    return m_clear.exec() || fail(m_clear);
}

bool BoatListStore::commit()
{
    if (m_db.commit())
        return true;
    m_error = m_db.lastError().text();
    m_db.rollback();
    return false;
}

void BoatListStore::rollback()
{
    m_db.rollback();
}

bool BoatListStore::fail(const QSqlQuery &query)
{
    m_error = query.lastError().text();
    return false;
}
