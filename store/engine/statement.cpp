#include "store/engine/statement.h"

#include "store/engine/database.h"
#include "store/engine/sqlite_support.h"

namespace engine {

Statement::Statement(Database &db, const QString &sql) : m_db(db.handle())
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &raw, nullptr);
    m_stmt.reset(raw);
    if (rc != SQLITE_OK)
        throwSqliteError(m_db, rc, sql);
}

Statement::~Statement() = default;

Statement &Statement::bind(int index, const QVariant &value)
{
    bindValue(m_stmt.get(), index, value);
    return *this;
}

void Statement::run()
{
    const int rc = sqlite3_step(m_stmt.get());
    sqlite3_reset(m_stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throwSqliteError(m_db, rc);
}

bool Statement::next()
{
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(m_stmt.get());
    if (rc != SQLITE_DONE)
        throwSqliteError(m_db, rc);
    return false;
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt.get(), column) == SQLITE_NULL;
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt.get(), column);
}

QString Statement::text(int column) const
{
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt.get(), column));
    return utf8 ? QString::fromUtf8(utf8, sqlite3_column_bytes(m_stmt.get(), column)) : QString();
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt.get(), column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return integer(column);
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt.get(), column);
    default:
        return text(column);
    }
}

} // namespace engine
