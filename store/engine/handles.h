#pragma once
// The engine's handle types as the public headers need them: the SQLite types stay forward
// declared, so <sqlite3.h> reaches no file outside the engine.

#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace engine {

// The open file. Record sets share it; after Close() they report "object invalid".
struct Connection;
using ConnectionPtr = std::shared_ptr<Connection>;

struct StmtDeleter {
    void operator()(sqlite3_stmt *s) const;
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// How a column's values are read and written.
enum class ColumnKind { Int16, Integer, Bool, Text, Real, Untyped };

} // namespace engine
