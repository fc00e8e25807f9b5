#pragma once

#include <QString>

// Makes a file or folder unwritable for this process while the guard lives, the way a full
// or protected disk would be. As root, permission bits do not stop writes, so the guard
// marks the path immutable instead (which needs a file system that supports it).
class ReadOnlyGuard
{
public:
    explicit ReadOnlyGuard(const QString &path);
    ~ReadOnlyGuard();

    // False when the path could not be protected; the test should then be skipped.
    bool isActive() const { return m_active; }
    QString how() const { return m_how; }

    ReadOnlyGuard(const ReadOnlyGuard &) = delete;
    ReadOnlyGuard &operator=(const ReadOnlyGuard &) = delete;

private:
    QString m_path;
    bool m_active = false;
    bool m_immutable = false;
    QString m_how;
};
