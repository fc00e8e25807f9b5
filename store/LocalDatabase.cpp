#include "store/LocalDatabase.h"

#include "store/Sql.h"

#include <QDebug>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
// SQLite opens files lazily, so a file with random bytes or a directory "opens" fine and
// then fails every statement. Reading the catalogue finds that out without writing.
bool isUsable(QSqlDatabase &db)
{
    QSqlQuery probe(db);
    if (probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return true;
    qWarning() << "LocalDatabase::open," << probe.lastError().text();
    return false;
}
} // namespace

bool LocalDatabase::open(const QString &path, bool *fileExisted)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    const bool existed = QFile::exists(path);
    if (fileExisted)
        *fileExisted = existed;
    if (!db.open())
        return false;
    if (!isUsable(db)) {
        db.close();
        if (!existed)
            QFile::remove(path);
        return false;
    }
    return true;
}

void LocalDatabase::ensureIndexes()
{
    QSqlQuery query;
    if (!query.exec(Sql::Track::createIndex))
        qDebug() << "LocalDatabase::ensureIndexes," << query.lastError().text();
}

void LocalDatabase::close()
{
    const QString name = QLatin1String(QSqlDatabase::defaultConnection);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
