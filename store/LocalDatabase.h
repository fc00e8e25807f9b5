#pragma once

#include <QString>

class QSqlError;

// The process's default SQLite connection on the database file.
class LocalDatabase
{
public:
    // How long a statement waits for another process's lock before it fails.
    static constexpr int defaultBusyTimeoutMs = 5000;

    // Registers the default connection on path and opens it. fileExisted tells whether the
    // file held a database before opening (opening creates it; a file of 0 bytes, left by a
    // start that was killed before anything was written, counts as new). Returns false when
    // the file cannot serve as a database; the file is then left as it was.
    static bool open(const QString &path, bool *fileExisted, int busyTimeoutMs = defaultBusyTimeoutMs);

    // Whether a change can be written: a probe inside a transaction that is rolled back.
    static bool isWritable();

    // The unique position index, after removing rows that repeat a boat, event and time.
    // Returns false when the index could not be made (locked or read-only file).
    static bool ensureIndexes();

    // A statement refused by a UNIQUE or PRIMARY KEY rule, as opposed to one that failed.
    static bool isConstraintViolation(const QSqlError &error);

    // Closes and removes the default connection.
    static void close();
};
