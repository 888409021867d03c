#pragma once
// Low-level pieces shared by the adapter's classes, private to the engine: owned SQLite handles, the
// mapping of SQLite result codes to numbered engine errors, and the typing of column values by their
// declared type.

#include "common/engine_error.h"
#include "store/engine/handles.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

namespace engine {

struct Connection {
    sqlite3 *db = nullptr;
    QString path;
    ~Connection();
    void close();
    bool isOpen() const { return db != nullptr; }
};
ColumnKind kindFromDeclType(const char *declType);
// Maximum length of a text column declared with one, e.g. TEXT(50); 0 when unlimited.
int textLengthFromDeclType(const char *declType);

QVariant readColumn(sqlite3_stmt *stmt, int column, ColumnKind kind);
// Converts a value written by the program to what the column stores; throws Overflow (6),
// TypeMismatch (13) or FieldTooSmall (3163).
QVariant convertForColumn(const QVariant &value, ColumnKind kind, int maxLength, const QString &columnName);
void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value);

[[noreturn]] void throwSqliteError(sqlite3 *db, int rc, const QString &context = QString());
Stmt prepare(const ConnectionPtr &conn, const QString &sql);
void requireOpen(const ConnectionPtr &conn);
// Runs one statement to its end.
void execute(const ConnectionPtr &conn, const QString &sql);
// A text literal in SQLite's own single quotes.
QString sqlString(const QString &text);

} // namespace engine
