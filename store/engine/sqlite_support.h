#pragma once
// Low-level pieces shared by the adapter's classes, private to the engine: owned SQLite handles, the
// mapping of SQLite result codes to numbered engine errors, and the typing of column values by their
// declared type.

#include "core/engine_error.h"
#include "store/engine/handles.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

namespace engine {

struct Connection {
    sqlite3 *db = nullptr;
    QString path;
    // Set while a statement whose text came from the file is prepared or run: the authorizer then
    // lets it only read the library's own tables.
    bool fileSql = false;
    // Whether the authorizer turned such a statement down since the flag was set: a function it
    // refuses fails as a plain error, not with SQLITE_AUTH.
    bool refused = false;
    // Steady-clock nanoseconds past which the running statement is stopped; 0 when none runs under
    // a time bound.
    qint64 deadline = 0;
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

// ---- Guards (query_guard.cpp) -----------------------------------------------------------------

// Installs the authorizer and the time check, and turns extension loading off.
void guardConnection(Connection &conn);

// Marks the statements prepared or run while it lives as file-sourced.
class FileSqlScope {
public:
    explicit FileSqlScope(Connection &conn) : m_conn(conn), m_saved(conn.fileSql)
    {
        conn.fileSql = true;
        conn.refused = false;
    }
    ~FileSqlScope() { m_conn.fileSql = m_saved; }
    FileSqlScope(const FileSqlScope &) = delete;
    FileSqlScope &operator=(const FileSqlScope &) = delete;

private:
    Connection &m_conn;
    bool m_saved;
};

// Prepares a stored query's text under the authorizer; a refused one raises QueryRefused naming it.
Stmt prepareFileSql(const ConnectionPtr &conn, const QString &name, const QString &sql);

// The moment `budgetNs` nanoseconds from now, on the clock the deadlines use.
qint64 deadlineAfter(qint64 budgetNs);

// Runs the steps made while it lives under a deadline `budgetNs` nanoseconds away.
class StepClock {
public:
    StepClock(Connection &conn, qint64 budgetNs);
    ~StepClock();
    StepClock(const StepClock &) = delete;
    StepClock &operator=(const StepClock &) = delete;

private:
    Connection &m_conn;
    qint64 m_saved;
};

qint64 timeBudgetNs();
// Raise ResourceExceeded for the record set `name`.
[[noreturn]] void throwTooManyRows(const QString &name);
[[noreturn]] void throwTooLong(const QString &name);
// Adds a row's text to a result's running total; throws once the total passes the limit of the
// query limits (kMaxResultBytes unless set otherwise).
void countResultBytes(qint64 &total, qint64 bytes, const QString &name);

} // namespace engine
