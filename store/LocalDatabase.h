#pragma once

#include <QString>

// The process's default SQLite connection on the database file.
class LocalDatabase
{
public:
    // Registers the default connection on path and opens it. fileExisted tells whether the
    // file was there before opening (opening creates it). Returns false when the file
    // cannot serve as a database; the file is then left as it was.
    static bool open(const QString &path, bool *fileExisted);

    // Indexes the program's own queries rely on for speed; harmless to older readers.
    static void ensureIndexes();

    // Closes and removes the default connection.
    static void close();
};
