#pragma once

#include "tests/support/TestEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// Moves the test into a working directory of its own and back to the previous one when
// it ends, passed or failed: whatever the updater does to "the current directory" must
// never reach the checkout the tests run from. The folder holds a few files that must
// survive, among them leftovers the updater would remove if it looked there.
class ScratchWorkingDirectory
{
public:
    ScratchWorkingDirectory()
        : m_previous(QDir::currentPath())
        , m_path(TestEnvironment::freshFolder(QStringLiteral("cwd")))
    {
        for (const QString &name : sentinels()) {
            QDir().mkpath(QFileInfo(m_path + QLatin1Char('/') + name).path());
            QFile file(m_path + QLatin1Char('/') + name);
            if (!file.open(QIODevice::WriteOnly) || file.write("keep") != 4)
                return;
        }
        m_entered = QDir::setCurrent(m_path) && QDir::currentPath() == QDir(m_path).canonicalPath();
    }
    ~ScratchWorkingDirectory() { QDir::setCurrent(m_previous); }
    ScratchWorkingDirectory(const ScratchWorkingDirectory &) = delete;
    ScratchWorkingDirectory &operator=(const ScratchWorkingDirectory &) = delete;

    // False when the test must not go on: it would run in the checkout.
    bool entered() const { return m_entered; }
    QString path() const { return m_path; }

    // The files that are gone, empty when all are there.
    QStringList missing() const
    {
        QStringList result;
        for (const QString &name : sentinels()) {
            if (!QFileInfo(m_path + QLatin1Char('/') + name).isFile())
                result << name;
        }
        return result;
    }

private:
    static QStringList sentinels()
    {
        return {QStringLiteral("source.cpp"), QStringLiteral(".git/HEAD"), QStringLiteral("setup.oldversion"),
                QStringLiteral("sub/lib.so.oldversion"), QStringLiteral("brisavela-update-x/setup.oldversion")};
    }

    QString m_previous;
    QString m_path;
    bool m_entered = false;
};

// Points TMPDIR somewhere else for the life of the object.
class TemporaryTmpDir
{
public:
    explicit TemporaryTmpDir(const QString &path)
        : m_previous(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~TemporaryTmpDir() { qputenv("TMPDIR", m_previous); }
    TemporaryTmpDir(const TemporaryTmpDir &) = delete;
    TemporaryTmpDir &operator=(const TemporaryTmpDir &) = delete;

private:
    QByteArray m_previous;
};
