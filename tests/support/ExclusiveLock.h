#pragma once

#include <QString>

#include <thread>

// Another program holding the database file: a second connection that takes an exclusive
// lock, either for as long as the object lives or, with a hold time, on a thread of its own
// that lets go after that time while this thread waits in SQLite.
class ExclusiveLock
{
public:
    explicit ExclusiveLock(const QString &path);
    // Locks at once and releases after holdMs from another thread.
    ExclusiveLock(const QString &path, int holdMs);
    ~ExclusiveLock();

    bool isLocked() const { return m_locked; }
    void release();

    ExclusiveLock(const ExclusiveLock &) = delete;
    ExclusiveLock &operator=(const ExclusiveLock &) = delete;

private:
    QString m_connection;
    bool m_locked = false;
    std::thread m_thread;
};
