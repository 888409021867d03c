// The check made on a library file before the program uses it: its tables and stored queries are
// all there, and nothing in it would run as more than a read of the library.

#include "store/engine/database.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/library_schema.h"
#include "store/engine/sqlite_support.h"

namespace engine {

namespace {

const char *const kLibraryTables[] = {"Drinks", "Ingredients", "DrinkRel", "QueryDefs"};

[[noreturn]] void incomplete(const QString &path, const QString &what)
{
    throw EngineError(err::InputTableNotFound,
                      QStringLiteral("'%1' is not a complete Zestro library: %2 is missing.").arg(path, what));
}

QStringList names(const ConnectionPtr &conn, const QString &sql)
{
    QStringList result;
    Stmt stmt = prepare(conn, sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        result << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)));
    if (rc != SQLITE_DONE)
        throwSqliteError(conn->db, rc, sql);
    return result;
}

// Whether the stored query's text is a single statement that only reads the library. Prepared
// under the authorizer, a statement that would do more fails; one that fails for another reason
// (the older layout's GetIngList names Has before the field is added) cannot run at all and is
// reported when it is opened.
bool onlyReads(const ConnectionPtr &conn, const QByteArray &sql)
{
    FileSqlScope scope(*conn);
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(conn->db, sql.constData(), int(sql.size()), &raw, &tail);
    Stmt stmt(raw);
    if (rc != SQLITE_OK)
        return !conn->refused;
    if (!stmt || !sqlite3_stmt_readonly(stmt.get()) || sqlite3_column_count(stmt.get()) == 0)
        return false;
    for (const char *p = tail; p && *p; ++p) {
        if (*p != ';' && !QChar::isSpace(uchar(*p)))
            return false; // a second statement, whatever it is
    }
    return true;
}

// An index whose rows come from an expression or that has a condition: the program's own indexes
// are plain columns, and such an index would evaluate the file's own code on every write.
QString computedIndex(const ConnectionPtr &conn)
{
    for (const QString &table : names(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        Stmt list = prepare(conn, QStringLiteral("PRAGMA index_list(%1)").arg(quotedName(table)));
        while (sqlite3_step(list.get()) == SQLITE_ROW) { // seq, name, unique, origin, partial
            const QString index = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(list.get(), 1)));
            if (sqlite3_column_int(list.get(), 4) != 0)
                return index;
            Stmt columns = prepare(conn, QStringLiteral("PRAGMA index_xinfo(%1)").arg(quotedName(index)));
            while (sqlite3_step(columns.get()) == SQLITE_ROW) { // seqno, cid (-2 for an expression), ...
                if (sqlite3_column_int(columns.get(), 1) == -2)
                    return index;
            }
        }
    }
    return QString();
}

} // namespace

void CheckLibraryFile(Database &db)
{
    const ConnectionPtr &conn = db.m_conn;
    requireOpen(conn);
    const QString path = conn->path;

    const QStringList tables = names(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    for (const char *table : kLibraryTables) {
        if (!tables.contains(QLatin1String(table), Qt::CaseInsensitive))
            incomplete(path, QStringLiteral("the table '%1'").arg(QLatin1String(table)));
    }

    // The program never writes triggers; one in a file would run its own statements whenever the
    // program changes a drink, with the program's rights.
    const QStringList triggers = names(conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger'"));
    if (!triggers.isEmpty())
        throw EngineError(err::QueryRefused, QStringLiteral("'%1' carries the trigger '%2', which would run hidden statements "
                                                            "when drinks change; Zestro will not open a file that carries it.")
                                                 .arg(path, triggers.first()));

    const QString index = computedIndex(conn);
    if (!index.isEmpty())
        throw EngineError(err::QueryRefused, QStringLiteral("'%1' carries the index '%2', which computes its own values whenever "
                                                            "drinks change; Zestro will not open a file that carries it.")
                                                 .arg(path, index));

    QStringList queryNames;
    Stmt stmt = prepare(conn, QStringLiteral("SELECT Name, SQL FROM QueryDefs"));
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)));
        const QByteArray sql(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 1)), sqlite3_column_bytes(stmt.get(), 1));
        if (!onlyReads(conn, sql))
            throw EngineError(err::QueryRefused, QStringLiteral("The stored query '%1' in '%2' does more than read the drink "
                                                                "library; Zestro will not open a file that carries it.")
                                                     .arg(name, path));
        queryNames << name;
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(conn->db, rc);

    for (const auto &query : library::storedQueries()) {
        if (!queryNames.contains(query.first, Qt::CaseInsensitive))
            incomplete(path, QStringLiteral("the stored query '%1'").arg(query.first));
    }
}

} // namespace engine
