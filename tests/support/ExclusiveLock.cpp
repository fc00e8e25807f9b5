#include "tests/support/ExclusiveLock.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
int counter = 0;

bool lock(const QString &connection, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    return db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
}

void unlock(const QString &connection)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}
} // namespace

ExclusiveLock::ExclusiveLock(const QString &path)
    : m_connection(QStringLiteral("exclusive-lock-%1").arg(++counter))
{
    m_locked = lock(m_connection, path);
}

ExclusiveLock::ExclusiveLock(const QString &path, int holdMs)
    : m_connection(QStringLiteral("exclusive-lock-%1").arg(++counter))
{
    std::mutex mutex;
    std::condition_variable ready;
    bool started = false;
    bool locked = false;
    // A connection belongs to the thread that made it, so the thread opens its own.
    m_thread = std::thread([&, connection = m_connection, path, holdMs] {
        const bool ok = lock(connection, path);
        {
            // Notified under the lock: the waiting constructor may return, and its locals go,
            // as soon as it can take the mutex.
            std::lock_guard<std::mutex> guard(mutex);
            locked = ok;
            started = true;
            ready.notify_one();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        unlock(connection);
    });
    std::unique_lock<std::mutex> wait(mutex);
    ready.wait(wait, [&] { return started; });
    m_locked = locked;
}

ExclusiveLock::~ExclusiveLock()
{
    release();
}

void ExclusiveLock::release()
{
    if (m_thread.joinable()) {
        m_thread.join();
    } else if (m_locked) {
        unlock(m_connection);
    }
    m_locked = false;
}
