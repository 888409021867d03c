#include "store/engine/sqlite_support.h"
#include "store/engine/query_guard.h"

#include <QByteArray>
#include <cmath>

namespace engine {

void StmtDeleter::operator()(sqlite3_stmt *s) const
{
    sqlite3_finalize(s);
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (db) {
        // _v2: statements still held by record sets keep the handle alive until they are finalized.
        sqlite3_close_v2(db);
        db = nullptr;
    }
}

ColumnKind kindFromDeclType(const char *declType)
{
    if (!declType)
        return ColumnKind::Untyped;
    const QByteArray t = QByteArray(declType).toUpper();
    if (t.startsWith("SMALLINT"))
        return ColumnKind::Int16;
    if (t.startsWith("BOOLEAN") || t.startsWith("BIT") || t.startsWith("YESNO"))
        return ColumnKind::Bool;
    if (t.contains("INT"))
        return ColumnKind::Integer;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB"))
        return ColumnKind::Text;
    if (t.contains("REAL") || t.contains("DOUB") || t.contains("FLOA"))
        return ColumnKind::Real;
    return ColumnKind::Untyped;
}

int textLengthFromDeclType(const char *declType)
{
    if (!declType)
        return 0;
    const QByteArray t(declType);
    const int open = t.indexOf('('), close = t.indexOf(')');
    if (open < 0 || close <= open)
        return 0;
    return t.mid(open + 1, close - open - 1).trimmed().toInt();
}

QVariant readColumn(sqlite3_stmt *stmt, int column, ColumnKind kind)
{
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return QVariant();
    switch (kind) {
    case ColumnKind::Bool:
        return sqlite3_column_int64(stmt, column) != 0;
    case ColumnKind::Int16:
    case ColumnKind::Integer:
        break; // below: whole numbers beyond int's range are kept, not cut
    case ColumnKind::Real:
        return sqlite3_column_double(stmt, column);
    default:
        break;
    }
    switch (type) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(stmt, column);
        if (v >= INT_MIN && v <= INT_MAX)
            return int(v);
        return qlonglong(v);
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
    }
    }
}

QVariant convertForColumn(const QVariant &value, ColumnKind kind, int maxLength, const QString &columnName)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    switch (kind) {
    case ColumnKind::Bool: {
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return 1;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw EngineError(err::TypeMismatch, QStringLiteral("Type mismatch"));
        return d != 0 ? 1 : 0;
    }
    case ColumnKind::Int16:
    case ColumnKind::Integer: {
        bool ok = false;
        const double d = value.typeId() == QMetaType::Bool ? (value.toBool() ? -1 : 0) : value.toDouble(&ok);
        if (value.typeId() != QMetaType::Bool && (!ok || std::isnan(d))) // NaN would pass the range test below
            throw EngineError(err::TypeMismatch, QStringLiteral("Type mismatch"));
        const double rounded = std::nearbyint(d);
        const double lo = kind == ColumnKind::Int16 ? -32768.0 : -2147483648.0;
        const double hi = kind == ColumnKind::Int16 ? 32767.0 : 2147483647.0;
        if (rounded < lo || rounded > hi)
            throw EngineError(err::Overflow, QStringLiteral("Overflow"));
        return qlonglong(rounded);
    }
    case ColumnKind::Real: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw EngineError(err::TypeMismatch, QStringLiteral("Type mismatch"));
        return d;
    }
    case ColumnKind::Text: {
        const QString s = value.toString();
        if (maxLength > 0 && s.size() > maxLength)
            throw EngineError(err::FieldTooSmall,
                              QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                             "attempted to add.  Try inserting or pasting less data.")
                                  .arg(columnName));
        return s;
    }
    case ColumnKind::Untyped:
        break;
    }
    return value;
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, value.toDouble());
        break;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
}

void throwSqliteError(sqlite3 *db, int rc, const QString &context)
{
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const QString where = context.isEmpty() ? QString() : context + QStringLiteral(": ");
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError(err::FileInUse, QStringLiteral("Could not use the database; file already in use."));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw EngineError(err::DatabaseDamaged,
                          QStringLiteral("The database is damaged (%1).").arg(detail));
    case SQLITE_IOERR:
        if (rc == SQLITE_IOERR_SHORT_READ)
            throw EngineError(err::DatabaseDamaged, QStringLiteral("The database is damaged: it ends too early."));
        throw EngineError(err::CannotOpenFile, QStringLiteral("Disk or file error (%1).").arg(detail));
    case SQLITE_TOOBIG:
        throw EngineError(err::ResourceExceeded, where + QStringLiteral("A text or value would be larger than %L1 MB, far larger than "
                                                                        "a drink library holds; the statement was stopped.")
                                                             .arg(kMaxValueBytes / (1024 * 1024)));
    case SQLITE_FULL:
        throw EngineError(err::DiskFull, QStringLiteral("Not enough space on disk."));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw EngineError(err::ReadOnly, QStringLiteral("Cannot update.  Database or object is read-only."));
    case SQLITE_CANTOPEN:
        throw EngineError(err::CannotOpenFile, QStringLiteral("Cannot open the database file (%1).").arg(detail));
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_NOTNULL)
            throw EngineError(err::NullNotAllowed, where + QStringLiteral("Field cannot contain a Null value (%1).").arg(detail));
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw EngineError(err::DuplicateValue,
                              QStringLiteral("The changes you requested to the table were not successful because "
                                             "they would create duplicate values (%1).")
                                  .arg(detail));
        break;
    case SQLITE_AUTH:
        throw EngineError(err::QueryRefused, where + QStringLiteral("The statement does more than read the drink library (%1).").arg(detail));
    case SQLITE_ERROR:
        throw EngineError(err::SyntaxInQuery, where + detail);
    default:
        break;
    }
    throw EngineError(err::Reserved, where + detail);
}

void requireOpen(const ConnectionPtr &conn)
{
    if (!conn || !conn->isOpen())
        throw EngineError(err::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
}

Stmt prepare(const ConnectionPtr &conn, const QString &sql)
{
    requireOpen(conn);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(conn->db, utf8.constData(), int(utf8.size()), &raw, &tail);
    Stmt stmt(raw);
    if (rc != SQLITE_OK)
        throwSqliteError(conn->db, rc, sql);
    // One statement per call: anything after it but blanks and semicolons is refused.
    for (const char *p = tail; p && *p; ++p) {
        if (*p != ';' && !QChar::isSpace(uchar(*p)))
            throw EngineError(err::SyntaxInQuery, QStringLiteral("Characters found after end of SQL statement."));
    }
    if (!stmt)
        throw EngineError(err::SyntaxInQuery, QStringLiteral("The SQL text holds no statement."));
    return stmt;
}

void execute(const ConnectionPtr &conn, const QString &sql)
{
    Stmt stmt = prepare(conn, sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(conn->db, rc, sql);
}

QString sqlString(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

} // namespace engine
