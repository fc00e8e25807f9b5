#include "store/PrefsTable.h"

#include "store/Sql.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
std::optional<int> read(const QString &statement)
{
    QSqlQuery query;
    if (!query.exec(statement) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

bool write(const QString &statement, const QString &name, bool on)
{
    QSqlQuery query;
    query.prepare(statement);
    query.bindValue(name, on ? 1 : 0);
    return query.exec();
}
} // namespace

std::optional<int> PrefsTable::loadMaps()
{
    return read(Sql::Prefs::selectLoadMaps);
}

std::optional<int> PrefsTable::loadInterval()
{
    return read(Sql::Prefs::selectLoadInterval);
}

std::optional<int> PrefsTable::autoLoad()
{
    return read(Sql::Prefs::selectAutoLoad);
}

std::optional<int> PrefsTable::lookForUpdate()
{
    return read(Sql::Prefs::selectLookForUpdate);
}

bool PrefsTable::setLoadMaps(bool on)
{
    return write(Sql::Prefs::updateLoadMaps, QStringLiteral(":loadmaps"), on);
}

bool PrefsTable::setAutoLoad(bool on)
{
    return write(Sql::Prefs::updateAutoLoad, QStringLiteral(":autoload"), on);
}

bool PrefsTable::setLookForUpdate(bool on)
{
    return write(Sql::Prefs::updateLookForUpdate, QStringLiteral(":lookforupdate"), on);
}

bool PrefsTable::setLoadInterval(int minutes)
{
    QSqlQuery query;
    query.prepare(Sql::Prefs::updateLoadInterval);
    query.bindValue(QStringLiteral(":loadinterval"), minutes);
    return query.exec();
}
