// The guards on what a statement may do and how long it may run. A library file may come from
// anyone, so the SQL text it carries is only allowed to read the library's own tables; the
// program's own statements (compaction's ATTACH, the layout upgrade, keying) keep every right.

#include "store/engine/query_guard.h"
#include "store/engine/sqlite_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace engine {

namespace {

// How many virtual machine steps run between two looks at the clock: a few microseconds of work,
// so a stopped query overruns by nothing noticeable and the look costs nothing measurable.
constexpr int kStepsBetweenChecks = 1000;

std::atomic<qint64> g_maxRows{kDefaultQueryLimits.maxRows};
std::atomic<int> g_maxMilliseconds{kDefaultQueryLimits.maxMilliseconds};
std::atomic<qint64> g_maxResultBytes{kDefaultQueryLimits.maxResultBytes};

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool isLibraryTable(const char *table)
{
    for (const char *known : {"Drinks", "Ingredients", "DrinkRel", "QueryDefs"}) {
        if (table && sqlite3_stricmp(table, known) == 0)
            return true;
    }
    return false;
}

// Functions with effects beyond their result: loading code, copying the database into another.
bool isBarredFunction(const char *name)
{
    for (const char *barred : {"load_extension", "sqlcipher_export", "fts3_tokenizer"}) {
        if (name && sqlite3_stricmp(name, barred) == 0)
            return true;
    }
    return false;
}

// SQLite counts ATTACH as read-only, so a file-sourced statement is judged by what it does, not by
// sqlite3_stmt_readonly: it may select, recurse, call ordinary functions and read the library's
// tables in the main database, and nothing else.
bool allowedFromFile(int action, const char *arg1, const char *arg2, const char *database)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_RECURSIVE:
        return true;
    case SQLITE_READ:
        return isLibraryTable(arg1) && database && qstrcmp(database, "main") == 0;
    case SQLITE_FUNCTION:
        return !isBarredFunction(arg2);
    default:
        return false;
    }
}

int authorize(void *user, int action, const char *arg1, const char *arg2, const char *database, const char *)
{
    auto *conn = static_cast<Connection *>(user);
    if (!conn->fileSql || allowedFromFile(action, arg1, arg2, database))
        return SQLITE_OK;
    conn->refused = true;
    return SQLITE_DENY;
}

int pastDeadline(void *user)
{
    const qint64 deadline = static_cast<const Connection *>(user)->deadline;
    return deadline != 0 && nowNs() > deadline ? 1 : 0;
}

} // namespace

QueryLimits queryLimits()
{
    return {g_maxRows.load(), g_maxMilliseconds.load(), g_maxResultBytes.load()};
}

void setQueryLimits(const QueryLimits &limits)
{
    g_maxRows = limits.maxRows;
    g_maxMilliseconds = limits.maxMilliseconds;
    g_maxResultBytes = limits.maxResultBytes;
}

void guardConnection(Connection &conn)
{
    sqlite3_enable_load_extension(conn.db, 0);
    sqlite3_set_authorizer(conn.db, authorize, &conn);
    sqlite3_progress_handler(conn.db, kStepsBetweenChecks, pastDeadline, &conn);
    sqlite3_limit(conn.db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
}

Stmt prepareFileSql(const ConnectionPtr &conn, const QString &name, const QString &sql)
{
    requireOpen(conn);
    FileSqlScope scope(*conn);
    try {
        return prepare(conn, sql);
    } catch (const EngineError &) {
        if (!conn->refused)
            throw;
        throw EngineError(err::QueryRefused,
                          QStringLiteral("The stored query '%1' does more than read the drink library; Zestro will not run it.")
                              .arg(name));
    }
}

qint64 deadlineAfter(qint64 budgetNs)
{
    // A spent budget stops the statement at its first look at the clock.
    return nowNs() + std::max<qint64>(budgetNs, 1);
}

StepClock::StepClock(Connection &conn, qint64 budgetNs) : m_conn(conn), m_saved(conn.deadline)
{
    conn.deadline = deadlineAfter(budgetNs);
}

StepClock::~StepClock()
{
    m_conn.deadline = m_saved;
}

qint64 timeBudgetNs()
{
    return qint64(g_maxMilliseconds.load()) * 1'000'000;
}

void throwTooManyRows(const QString &name)
{
    throw EngineError(err::ResourceExceeded, QStringLiteral("The query '%1' returned more than %L2 rows, far more than a drink "
                                                            "library holds; it was stopped.")
                                                 .arg(name)
                                                 .arg(g_maxRows.load()));
}

void countResultBytes(qint64 &total, qint64 bytes, const QString &name)
{
    total += bytes;
    const qint64 most = g_maxResultBytes.load();
    if (total > most)
        throw EngineError(err::ResourceExceeded, QStringLiteral("The query '%1' returned more than %L2 MB of text, far more than a "
                                                                "drink library holds; it was stopped.")
                                                     .arg(name)
                                                     .arg(double(most) / (1024 * 1024)));
}

void throwTooLong(const QString &name)
{
    throw EngineError(err::ResourceExceeded, QStringLiteral("The query '%1' took longer than %2 seconds and was stopped.")
                                                 .arg(name, QString::number(g_maxMilliseconds.load() / 1000.0)));
}

} // namespace engine
