#include "store/ShipFlagsWriter.h"

#include "store/Sql.h"

#include <QSqlDatabase>

ShipFlagsWriter::ShipFlagsWriter()
{
    m_showFollow.prepare(Sql::Ship::updateShowFollow);
    m_unfollowAll.prepare(Sql::Ship::unfollowEvent);
    m_follow.prepare(Sql::Ship::updateFollow);
}

bool ShipFlagsWriter::writeShowFollow(int shipId, bool show, bool follow)
{
    m_showFollow.bindValue(QStringLiteral(":show"), show);
    m_showFollow.bindValue(QStringLiteral(":follow"), follow);
    m_showFollow.bindValue(QStringLiteral(":id"), shipId);
    return m_showFollow.exec();
}

bool ShipFlagsWriter::writeFollow(int eventId, int shipId, bool follow)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    m_unfollowAll.bindValue(QStringLiteral(":id"), eventId);
    const bool unfollowed = m_unfollowAll.exec();
    m_follow.bindValue(QStringLiteral(":follow"), follow);
    m_follow.bindValue(QStringLiteral(":id"), shipId);
    const bool followed = m_follow.exec();
    return db.commit() && unfollowed && followed;
}
