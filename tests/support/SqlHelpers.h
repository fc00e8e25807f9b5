#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

// Short ways for tests to read and write the default connection.
namespace SqlHelpers {
// Runs statements in order; fails the calling test (QVERIFY-like) through the return value.
bool exec(const QStringList &statements);
QList<QVariantList> rows(const QString &select);
QVariant scalar(const QString &select);
QStringList tables();
// Every index by name, sorted.
QStringList indexes();
// Every row of every table, by table, in rowid order.
using Dump = QMap<QString, QList<QVariantList>>;
Dump dump();
}

// A database file in a fresh folder, opened as the default connection for one test.
class TestDatabase
{
public:
    // Opens (and, when createSchema, creates or upgrades) the file; message boxes go to
    // whatever presenter is installed.
    // The schema is made as start-up makes it, with its indexes.
    explicit TestDatabase(const QString &fileName = QStringLiteral("test.db"), bool createSchema = true,
                          int busyTimeoutMs = 500);
    ~TestDatabase();

    QString path() const { return m_path; }
    // Opens a file a test made before as the default connection, without touching it.
    static void openExisting(const QString &path);
    bool isOpen() const { return m_open; }

    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

private:
    QString m_path;
    bool m_open = false;
};
