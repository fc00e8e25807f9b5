#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Short ways for tests to read and write the default connection.
namespace SqlHelpers {
// Runs statements in order; fails the calling test (QVERIFY-like) through the return value.
bool exec(const QStringList &statements);
QList<QVariantList> rows(const QString &select);
QVariant scalar(const QString &select);
QStringList tables();
}

// A database file in a fresh folder, opened as the default connection for one test.
class TestDatabase
{
public:
    // Opens (and, when createSchema, creates or upgrades) the file; message boxes go to
    // whatever presenter is installed.
    explicit TestDatabase(const QString &fileName = QStringLiteral("test.db"), bool createSchema = true);
    ~TestDatabase();

    QString path() const { return m_path; }
    bool isOpen() const { return m_open; }

    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

private:
    QString m_path;
    bool m_open = false;
};
