#include "store/LocalDatabase.h"

#include "store/Sql.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;
constexpr int sqliteConstraint = 19;

// The primary result code of an error; extended codes keep it in their low byte.
int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

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

bool hasIndex(const QString &name)
{
    QSqlQuery query;
    query.prepare(Sql::Master::hasIndex);
    query.bindValue(QStringLiteral(":name"), name);
    return query.exec() && query.next();
}
} // namespace

bool LocalDatabase::open(const QString &path, bool *fileExisted, int busyTimeoutMs)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    const bool wasThere = QFileInfo::exists(path);
    if (fileExisted)
        *fileExisted = wasThere;
    if (!db.open())
        return false;
    if (!isUsable(db)) {
        db.close();
        if (!wasThere)
            QFile::remove(path);
        return false;
    }
    // Read after the first statement, which has rolled back what a killed start left half
    // written: an empty file holds no database yet.
    const QFileInfo file(path);
    if (fileExisted && file.isFile() && file.size() == 0)
        *fileExisted = false;
    return true;
}

bool LocalDatabase::isWritable()
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        qWarning() << "LocalDatabase::isWritable," << db.lastError().text();
        return false;
    }
    QSqlQuery probe(db);
    bool writable = probe.exec(Sql::Master::writeProbe);
    if (!writable) {
        qWarning() << "LocalDatabase::isWritable," << probe.lastError().text();
        // Another program holding the file for a while is no reason to call it read-only.
        const int code = primaryCode(probe.lastError());
        writable = code == sqliteBusy || code == sqliteLocked;
    }
    probe.finish();
    db.rollback();
    return writable;
}

bool LocalDatabase::ensureIndexes()
{
    if (hasIndex(Sql::Track::uniqueIndexName))
        return true;
    QSqlDatabase db = QSqlDatabase::database();
    // Removing repeats and making the index is one step: an interrupted start leaves neither.
    if (!db.transaction()) {
        qWarning() << "LocalDatabase::ensureIndexes," << db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(Sql::Track::removeDuplicates);
    const int removed = ok ? query.numRowsAffected() : 0;
    ok = ok && query.exec(Sql::Track::createUniqueIndex) && query.exec(Sql::Track::dropCoveringIndex);
    if (!ok || !db.commit()) {
        qWarning() << "LocalDatabase::ensureIndexes, Index nicht angelegt:"
                   << (ok ? db.lastError().text() : query.lastError().text());
        db.rollback();
        return false;
    }
    if (removed > 0)
        qWarning() << "LocalDatabase::ensureIndexes, doppelte Positionen entfernt:" << removed;
    return true;
}

bool LocalDatabase::isConstraintViolation(const QSqlError &error)
{
    return primaryCode(error) == sqliteConstraint;
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
