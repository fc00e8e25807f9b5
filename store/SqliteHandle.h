#pragma once

#include <QSqlDatabase>

struct sqlite3;

// The SQLite handle under an open connection of Qt's SQLite driver, for the paths that move
// hundreds of thousands of positions: binding and reading values through the driver costs
// more there than the work itself. nullptr if the connection is not an open SQLite one.
namespace SqliteHandle {
sqlite3 *of(const QSqlDatabase &db);
}
