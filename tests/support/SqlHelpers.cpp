#include "tests/support/SqlHelpers.h"

#include "store/DatabaseSchema.h"
#include "store/LocalDatabase.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

bool SqlHelpers::exec(const QStringList &statements)
{
    QSqlQuery query;
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            qWarning() << "SqlHelpers::exec failed:" << statement << query.lastError().text();
            return false;
        }
    }
    return true;
}

QList<QVariantList> SqlHelpers::rows(const QString &select)
{
    QList<QVariantList> result;
    QSqlQuery query;
    if (!query.exec(select)) {
        qWarning() << "SqlHelpers::rows failed:" << select << query.lastError().text();
        return result;
    }
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        result << row;
    }
    return result;
}

QVariant SqlHelpers::scalar(const QString &select)
{
    const QList<QVariantList> all = rows(select);
    return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
}

QStringList SqlHelpers::tables()
{
    return QSqlDatabase::database().tables();
}

QStringList SqlHelpers::indexes()
{
    QStringList names;
    for (const QVariantList &row :
         rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' ORDER BY name")))
        names << row.first().toString();
    return names;
}

SqlHelpers::Dump SqlHelpers::dump()
{
    Dump result;
    for (const QString &table : tables())
        result.insert(table, rows(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)));
    return result;
}

void TestDatabase::openExisting(const QString &path)
{
    bool existed = false;
    if (!LocalDatabase::open(path, &existed))
        qWarning() << "TestDatabase::openExisting failed:" << path;
}

TestDatabase::TestDatabase(const QString &fileName, bool createSchema, int busyTimeoutMs)
{
    static int counter = 0;
    m_path = TestEnvironment::freshFolder(QStringLiteral("db%1").arg(++counter)) + QLatin1Char('/') + fileName;
    bool existed = false;
    m_open = LocalDatabase::open(m_path, &existed, busyTimeoutMs);
    if (m_open && createSchema) {
        // A fresh database announces its creation and its upgrade in a box each; those are
        // expected here, and no other.
        MessageRecorder creation;
        DatabaseSchema::createOrUpgrade(existed, creation);
        LocalDatabase::ensureIndexes();
        for (const QString &title : creation.titles()) {
            if (title != QLatin1String("Initialisierung...") && title != QLatin1String("Update..."))
                QTest::qFail(qPrintable(QStringLiteral("unexpected message box \"%1\"").arg(title)), __FILE__,
                             __LINE__);
        }
    }
}

TestDatabase::~TestDatabase()
{
    LocalDatabase::close();
}
