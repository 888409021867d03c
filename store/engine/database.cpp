#include "store/engine/database.h"
#include "store/engine/sqlite_support.h"

#include "store/engine/jet_dialect.h"
#include "store/engine/query_guard.h"

namespace engine {

// ---- Database ----------------------------------------------------------------------------------

Database::~Database()
{
    Close();
}

QString Database::Name() const
{
    return m_conn ? m_conn->path : QString();
}

void Database::Close()
{
    if (m_conn && m_conn->isOpen()) {
        if (!sqlite3_get_autocommit(m_conn->db))
            sqlite3_exec(m_conn->db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_conn->close();
    }
}

QStringList Database::tableNames()
{
    QStringList names;
    auto rs = Recordset::openQuery(m_conn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"), {});
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("name")).Value().toString();
    return names;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &source, int type)
{
    requireOpen(m_conn);
    const QString trimmed = source.trimmed();
    if (trimmed.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("PRAGMA"), Qt::CaseInsensitive))
        return type == dbOpenForwardOnly ? Recordset::openForwardOnly(m_conn, translateJetSql(trimmed))
                                         : Recordset::openQuery(m_conn, translateJetSql(trimmed), {});
    for (const QString &table : tableNames()) {
        if (table.compare(trimmed, Qt::CaseInsensitive) == 0)
            return Recordset::openTable(m_conn, table, type != dbOpenSnapshot);
    }
    if (queryDefNames().contains(trimmed, Qt::CaseInsensitive))
        return QueryDefs(trimmed).OpenRecordset(type);
    throw EngineError(err::InputTableNotFound, QStringLiteral("Cannot find the input table or query '%1'.").arg(source));
}

QStringList Database::queryDefNames()
{
    requireOpen(m_conn);
    QStringList names;
    if (!tableNames().contains(QStringLiteral("QueryDefs")))
        return names;
    auto rs = Recordset::openQuery(m_conn, QStringLiteral("SELECT Name FROM QueryDefs ORDER BY Name"), {});
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("Name")).Value().toString();
    return names;
}

QueryDef Database::QueryDefs(const QString &name)
{
    requireOpen(m_conn);
    if (tableNames().contains(QStringLiteral("QueryDefs"))) {
        auto rs = Recordset::openQuery(m_conn, QStringLiteral("SELECT Name, SQL FROM QueryDefs WHERE Name = :name COLLATE NOCASE"),
                                       {{QStringLiteral("name"), name}});
        if (!rs->Eof())
            return QueryDef(m_conn, rs->value(QStringLiteral("Name")).toString(), rs->value(QStringLiteral("SQL")).toString());
    }
    throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
}

TableDef Database::TableDefs(const QString &name)
{
    requireOpen(m_conn);
    for (const QString &table : tableNames()) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return TableDef(m_conn, table);
    }
    throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
}

void Database::Execute(const QString &sql, int options)
{
    Q_UNUSED(options); // every failing statement raises; SQLite undoes a failed statement whole
    Stmt stmt = prepare(m_conn, translateJetSql(sql));
    if (sqlite3_stmt_readonly(stmt.get()) && sqlite3_column_count(stmt.get()) > 0)
        throw EngineError(err::CannotExecuteSelect, QStringLiteral("Cannot execute a select query."));
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throwSqliteError(m_conn->db, rc);
    m_recordsAffected = sqlite3_changes(m_conn->db);
}

void Database::BeginTrans()
{
    execute(m_conn, QStringLiteral("BEGIN IMMEDIATE"));
    // Every write transaction counts itself in the file's header (the application id, which the
    // program has no other use for). The engine's own change counter cannot tie a crash's journal
    // to its file under SQLCipher (it is taken from the encrypted bytes); this count can: see
    // journal_check.h. It goes or stays with the transaction.
    try {
        const auto count = quint32(scalar(QStringLiteral("PRAGMA application_id")));
        execute(m_conn, QStringLiteral("PRAGMA application_id = %1").arg(qint32(count + 1)));
    } catch (...) {
        sqlite3_exec(m_conn->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void Database::CommitTrans()
{
    execute(m_conn, QStringLiteral("COMMIT"));
}

void Database::Rollback()
{
    requireOpen(m_conn);
    if (!sqlite3_get_autocommit(m_conn->db))
        execute(m_conn, QStringLiteral("ROLLBACK"));
}

void Database::Savepoint(const QString &name)
{
    execute(m_conn, QStringLiteral("SAVEPOINT ") + quotedName(name));
}

void Database::ReleaseSavepoint(const QString &name)
{
    execute(m_conn, QStringLiteral("RELEASE ") + quotedName(name));
}

void Database::RollbackToSavepoint(const QString &name)
{
    execute(m_conn, QStringLiteral("ROLLBACK TO ") + quotedName(name));
    execute(m_conn, QStringLiteral("RELEASE ") + quotedName(name));
}

bool Database::isOpen() const
{
    return m_conn && m_conn->isOpen();
}

sqlite3 *Database::handle() const
{
    return m_conn ? m_conn->db : nullptr;
}

std::pair<qint64, qint64> Database::changeStamp()
{
    return {m_conn ? sqlite3_total_changes(m_conn->db) : -1, scalar(QStringLiteral("PRAGMA data_version"))};
}

qint64 Database::scalar(const QString &sql)
{
    Stmt stmt = prepare(m_conn, sql);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW)
        throwSqliteError(m_conn->db, rc, sql);
    return sqlite3_column_int64(stmt.get(), 0);
}

QStringList Database::textColumn(const QString &sql, const QStringList &texts)
{
    Stmt stmt = prepare(m_conn, sql);
    for (int i = 0; i < texts.size(); ++i)
        bindValue(stmt.get(), i + 1, texts[i]);
    QStringList column;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(stmt.get(), 0));
        column << QString::fromUtf16(text, sqlite3_column_bytes16(stmt.get(), 0) / 2);
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(m_conn->db, rc, sql);
    return column;
}

int Database::executeNative(const QString &sql)
{
    Stmt stmt = prepare(m_conn, sql);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throwSqliteError(m_conn->db, rc);
    return sqlite3_changes(m_conn->db);
}

bool Database::quickCheck()
{
    // quick_check also checks every tree; the full integrity_check would match each index against
    // its table too, at three times the cost.
    Stmt stmt = prepare(m_conn, QStringLiteral("PRAGMA quick_check(1)"));
    return sqlite3_step(stmt.get()) == SQLITE_ROW
        && qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)), "ok") == 0;
}

Database::TextStart Database::readTextStart(const QString &table, const QString &column, qint64 rowid, int maxBytes)
{
    requireOpen(m_conn);
    sqlite3_blob *blob = nullptr;
    const int rc = sqlite3_blob_open(m_conn->db, "main", table.toUtf8().constData(), column.toUtf8().constData(), rowid, 0, &blob);
    if (rc != SQLITE_OK) {
        sqlite3_blob_close(blob);
        throwSqliteError(m_conn->db, rc, table + QLatin1Char('.') + column);
    }
    TextStart start;
    start.totalBytes = sqlite3_blob_bytes(blob);
    QByteArray bytes(int(std::min<qint64>(start.totalBytes, maxBytes)), Qt::Uninitialized);
    const int read = sqlite3_blob_read(blob, bytes.data(), int(bytes.size()), 0);
    sqlite3_blob_close(blob);
    if (read != SQLITE_OK)
        throwSqliteError(m_conn->db, read, table + QLatin1Char('.') + column);
    // A character whose bytes go on past the cut is left out whole.
    qsizetype end = bytes.size();
    if (end < start.totalBytes) {
        qsizetype lead = end;
        while (lead > 0 && (uchar(bytes[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const uchar first = uchar(bytes[lead - 1]);
            const int length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (lead - 1 + length > end)
                end = lead - 1;
        }
    }
    start.text = QString::fromUtf8(bytes.constData(), end);
    return start;
}

bool Database::inTransaction() const
{
    return m_conn && m_conn->isOpen() && !sqlite3_get_autocommit(m_conn->db);
}

// ---- Stored queries ----------------------------------------------------------------------------

QueryDef::QueryDef(ConnectionPtr conn, QString name, QString sql)
    : m_conn(std::move(conn)), m_name(std::move(name)), m_sql(std::move(sql))
{
    try {
        Stmt stmt = prepareFileSql(m_conn, m_name, m_sql);
        for (int i = 1; i <= sqlite3_bind_parameter_count(stmt.get()); ++i) {
            const char *p = sqlite3_bind_parameter_name(stmt.get(), i);
            if (p && (*p == ':' || *p == '@' || *p == '$'))
                m_parameterNames << QString::fromUtf8(p + 1);
        }
    } catch (const EngineError &) {
        // A broken stored query fails when it is opened, with the engine's message.
    }
}

QueryDef::Parameter QueryDef::Parameters(const QString &name)
{
    for (const QString &p : m_parameterNames) {
        if (p.compare(name, Qt::CaseInsensitive) == 0)
            return Parameter(this, p);
    }
    throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
}

void QueryDef::Parameter::setValue(const QVariant &value)
{
    for (auto &entry : m_def->m_values) {
        if (entry.first == m_name) {
            entry.second = value;
            return;
        }
    }
    m_def->m_values.append({m_name, value});
}

QVariant QueryDef::Parameter::Value() const
{
    for (const auto &entry : m_def->m_values) {
        if (entry.first == m_name)
            return entry.second;
    }
    return QVariant();
}

std::unique_ptr<Recordset> QueryDef::OpenRecordset(int type)
{
    Q_UNUSED(type); // stored queries give read-only sets
    const int missing = int(m_parameterNames.size()) - int(m_values.size());
    if (missing > 0)
        throw EngineError(err::TooFewParameters, QStringLiteral("Too few parameters. Expected %1.").arg(missing));
    return Recordset::openQuery(m_conn, m_sql, m_values, m_name);
}

QStringList QueryDef::textColumn(const QString &column)
{
    const int missing = int(m_parameterNames.size()) - int(m_values.size());
    if (missing > 0)
        throw EngineError(err::TooFewParameters, QStringLiteral("Too few parameters. Expected %1.").arg(missing));
    FileSqlScope fileSql(*m_conn);
    Stmt stmt = prepareFileSql(m_conn, m_name, m_sql);
    for (const auto &[name, value] : m_values) {
        const int index = sqlite3_bind_parameter_index(stmt.get(), (QLatin1Char(':') + name).toUtf8().constData());
        if (index > 0)
            bindValue(stmt.get(), index, value);
    }
    int wanted = -1;
    for (int i = 0; i < sqlite3_column_count(stmt.get()) && wanted < 0; ++i) {
        if (column.compare(QString::fromUtf8(sqlite3_column_name(stmt.get(), i)), Qt::CaseInsensitive) == 0)
            wanted = i;
    }
    QStringList texts;
    qint64 bytes = 0;
    const qint64 maxRows = queryLimits().maxRows;
    StepClock clock(*m_conn, timeBudgetNs());
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (wanted < 0)
            throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
        if (texts.size() >= maxRows)
            throwTooManyRows(m_name);
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(stmt.get(), wanted));
        countResultBytes(bytes, sqlite3_column_bytes16(stmt.get(), wanted), m_name);
        texts << QString::fromUtf16(text, sqlite3_column_bytes16(stmt.get(), wanted) / 2);
    }
    if (rc == SQLITE_INTERRUPT)
        throwTooLong(m_name);
    if (rc != SQLITE_DONE)
        throwSqliteError(m_conn->db, rc);
    return texts;
}

// ---- Table definitions -------------------------------------------------------------------------

TableDef::TableDef(ConnectionPtr conn, QString name) : m_conn(std::move(conn)), m_name(std::move(name))
{
    reload();
}

void TableDef::reload()
{
    m_fields.clear();
    Stmt info = prepare(m_conn, QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(m_name)));
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1));
        const auto *decl = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 2));
        FieldDef f{QString::fromUtf8(name), dbText, textLengthFromDeclType(decl)};
        switch (kindFromDeclType(decl)) {
        case ColumnKind::Bool: f.Type = dbBoolean; break;
        case ColumnKind::Int16: f.Type = dbInteger; break;
        case ColumnKind::Integer: f.Type = dbLong; break;
        case ColumnKind::Real: f.Type = dbDouble; break;
        default: f.Type = QByteArray(decl ? decl : "").toUpper().contains("LONG") ? dbMemo : dbText; break;
        }
        m_fields.append(f);
    }
}

FieldDef TableDef::Fields(const QString &name) const
{
    for (const FieldDef &f : m_fields) {
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
}

FieldDef TableDef::CreateField(const QString &name, int type, int size) const
{
    return FieldDef{name, type, size};
}

void TableDef::Append(const FieldDef &field)
{
    for (const FieldDef &f : m_fields) {
        if (f.Name.compare(field.Name, Qt::CaseInsensitive) == 0)
            throw EngineError(err::FieldDefinedTwice, QStringLiteral("Cannot define field '%1' more than once.").arg(field.Name));
    }
    QString decl;
    switch (field.Type) {
    case dbBoolean: decl = QStringLiteral("BOOLEAN NOT NULL DEFAULT 0"); break;
    case dbByte:
    case dbInteger: decl = QStringLiteral("SMALLINT"); break;
    case dbLong: decl = QStringLiteral("INTEGER"); break;
    case dbSingle:
    case dbDouble: decl = QStringLiteral("DOUBLE"); break;
    case dbMemo: decl = QStringLiteral("LONGTEXT"); break;
    case dbText: decl = QStringLiteral("TEXT(%1)").arg(field.Size > 0 ? field.Size : 255); break;
    default:
        throw EngineError(err::InvalidOperation, QStringLiteral("Invalid field data type."));
    }
    execute(m_conn, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quotedName(m_name), quotedName(field.Name), decl));
    reload();
}

} // namespace engine
