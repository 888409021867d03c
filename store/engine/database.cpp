#include "store/engine/database.h"

#include "store/engine/jet_dialect.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace engine {

namespace {

constexpr int kBusyTimeoutMs = 1000;
constexpr int kCacheKiB = 64 * 1024;

void exec(const ConnectionPtr &conn, const QString &sql)
{
    Stmt stmt = prepare(conn, sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(conn->db, rc, sql);
}

// sqlcipher_export() reports a failure of its inner statements as a plain SQL error carrying their
// message; recover the code behind the message, so a full disk is not reported as a syntax error.
void exportInto(const ConnectionPtr &conn, const QString &schema)
{
    const QString sql = QStringLiteral("SELECT sqlcipher_export('%1')").arg(schema);
    Stmt stmt = prepare(conn, sql);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    const char *message = sqlite3_errmsg(conn->db);
    for (int code = SQLITE_INTERNAL; code <= SQLITE_NOTADB; ++code) {
        if (qstrcmp(message, sqlite3_errstr(code)) == 0)
            throwSqliteError(conn->db, code, sql);
    }
    throwSqliteError(conn->db, rc, sql);
}

void flushToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        throw EngineError(err::CannotOpenFile, QStringLiteral("Disk or file error (flushing '%1': %2).").arg(path, why));
    }
    ::close(fd);
}

QString sqlString(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

// What the first bytes of a file that would not decrypt look like.
enum class Looks { Text, PlainSqlite, Random, Other };

Looks classifyHeader(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Looks::Other;
    const QByteArray head = f.read(1024);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return Looks::PlainSqlite;
    int printable = 0;
    int counts[256] = {};
    for (char ch : head) {
        const auto c = uchar(ch);
        ++counts[c];
        if ((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n')
            ++printable;
    }
    if (head.isEmpty())
        return Looks::Other;
    if (printable * 10 >= head.size() * 9)
        return Looks::Text;
    double entropy = 0;
    for (int n : counts) {
        if (n) {
            const double p = double(n) / head.size();
            entropy -= p * std::log2(p);
        }
    }
    // An encrypted page reads as noise; other binary formats have far more structure.
    const double expected = std::min(8.0, std::log2(double(head.size()))) - 0.9;
    return entropy >= expected ? Looks::Random : Looks::Other;
}

[[noreturn]] void unrecognized(const QString &path, const QString &why)
{
    throw EngineError(err::UnrecognizedFormat, QStringLiteral("Unrecognized database format '%1' (%2).").arg(path, why));
}

[[noreturn]] void damaged(const QString &path)
{
    throw EngineError(err::DatabaseDamaged,
                      QStringLiteral("The database '%1' is damaged or incomplete and cannot be opened.").arg(path));
}

void requireCipher()
{
    static const bool linked = !cipherVersion().isEmpty();
    if (!linked)
        throw EngineError(err::Reserved, QStringLiteral("The database library in use cannot read encrypted files."));
}

ConnectionPtr openConnection(const QString &path, int flags, const QString &connect)
{
    auto conn = std::make_shared<Connection>();
    conn->path = path;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &conn->db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = QString::fromUtf8(conn->db ? sqlite3_errmsg(conn->db) : sqlite3_errstr(rc));
        conn->close();
        throw EngineError(err::CannotOpenFile, QStringLiteral("Cannot open the file '%1' (%2).").arg(path, detail));
    }
    sqlite3_extended_result_codes(conn->db, 1);
    const QString password = passwordFromConnect(connect);
    if (!password.isEmpty())
        exec(conn, QStringLiteral("PRAGMA key = %1").arg(sqlString(password)));
    sqlite3_busy_timeout(conn->db, kBusyTimeoutMs);
    return conn;
}

} // namespace

QString passwordFromConnect(const QString &connect)
{
    for (const QString &part : connect.split(QLatin1Char(';'))) {
        if (part.startsWith(QLatin1String("PWD="), Qt::CaseInsensitive))
            return part.mid(4);
    }
    return QString();
}

QString cipherVersion()
{
    sqlite3 *db = nullptr;
    QString version;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            version = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return version;
}

// ---- Opening files -----------------------------------------------------------------------------

std::unique_ptr<Database> OpenDatabase(const QString &path, bool exclusive, bool readOnly, const QString &connect)
{
    requireCipher();
    const QFileInfo info(path);
    if (!info.exists())
        throw EngineError(err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (info.isDir())
        throw EngineError(err::CannotOpenFile, QStringLiteral("Cannot open '%1': it is a folder, not a database file.").arg(path));
    if (info.size() == 0)
        unrecognized(path, QStringLiteral("the file is empty"));

    ConnectionPtr conn = openConnection(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, connect);
    if (exclusive)
        exec(conn, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));

    // Keying always succeeds; the first read tells whether the key, the file and its pages are good.
    // Preparing reads the schema, so it fails first on a bad key or file; the step reads it too.
    sqlite3_stmt *rawProbe = nullptr;
    int rc = sqlite3_prepare_v2(conn->db, "SELECT count(*) FROM sqlite_master", -1, &rawProbe, nullptr);
    Stmt probe(rawProbe);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe.get());
    if (rc != SQLITE_ROW) {
        const int primary = rc & 0xFF;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw EngineError(err::FileInUse, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
        if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_IOERR) {
            // A file shorter than a page fails with a short read rather than "not a database",
            // so look at what the file holds before blaming the password or the pages.
            switch (classifyHeader(path)) {
            case Looks::Text: unrecognized(path, QStringLiteral("it is a text file"));
            case Looks::PlainSqlite: unrecognized(path, QStringLiteral("it is not an encrypted database"));
            case Looks::Other: unrecognized(path, QStringLiteral("it is not a database"));
            case Looks::Random:
                if (primary == SQLITE_NOTADB && info.size() % 1024 == 0)
                    throw EngineError(err::NotValidPassword, QStringLiteral("Not a valid password."));
                damaged(path);
            }
        }
        throwSqliteError(conn->db, rc);
    }
    const int objects = sqlite3_column_int(probe.get(), 0);
    probe.reset();
    if (objects == 0)
        unrecognized(path, QStringLiteral("it holds no tables"));
    if (info.size() % 1024 != 0)
        damaged(path);
    // Every page is decrypted when it is read into the cache; a cache that holds a whole library
    // keeps repeated searches from paying for that again.
    exec(conn, QStringLiteral("PRAGMA cache_size = -%1").arg(kCacheKiB));
    return std::unique_ptr<Database>(new Database(conn));
}

std::unique_ptr<Database> CreateDatabase(const QString &path, const QString &connect)
{
    requireCipher();
    if (QFileInfo::exists(path))
        throw EngineError(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    ConnectionPtr conn = openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, connect);
    return std::unique_ptr<Database>(new Database(conn));
}

void CompactDatabase(const QString &source, const QString &destination, const QString &destinationLocale, int options,
                     const QString &sourceConnect)
{
    Q_UNUSED(destinationLocale);
    if (QFileInfo::exists(destination))
        throw EngineError(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(destination));
    std::unique_ptr<Database> src = OpenDatabase(source, true, false, sourceConnect);
    const QString key = (options & dbEncrypt) ? passwordFromConnect(sourceConnect) : QString();
    // ATTACH opens with the source's flags, which lack SQLITE_OPEN_CREATE: make the empty file first.
    QFile created(destination);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw EngineError(err::CannotOpenFile,
                          QStringLiteral("Cannot create the file '%1' (%2).").arg(destination, created.errorString()));
    created.close();
    try {
        int userVersion = 0;
        {
            auto rs = src->OpenRecordset(QStringLiteral("PRAGMA user_version"));
            userVersion = rs->Eof() ? 0 : rs->Fields(QStringLiteral("user_version")).Value().toInt();
        }
        exec(src->m_conn, QStringLiteral("ATTACH DATABASE %1 AS compacted KEY %2").arg(sqlString(destination), sqlString(key)));
        // The copy is written without a journal and flushed once at the end, not once per copied
        // table: a copy that fails half-way is deleted below and never used.
        exec(src->m_conn, QStringLiteral("PRAGMA compacted.journal_mode = OFF"));
        exec(src->m_conn, QStringLiteral("PRAGMA compacted.synchronous = OFF"));
        exportInto(src->m_conn, QStringLiteral("compacted"));
        exec(src->m_conn, QStringLiteral("PRAGMA compacted.user_version = %1").arg(userVersion));
        exec(src->m_conn, QStringLiteral("DETACH DATABASE compacted"));
        src->Close();
        flushToDisk(destination);
    } catch (...) {
        src->Close();
        QFile::remove(destination);
        // A journal left beside the name would be played back into the next file made under it.
        QFile::remove(destination + QStringLiteral("-journal"));
        throw;
    }
}

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
        return Recordset::openQuery(m_conn, translateJetSql(trimmed), {});
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
    exec(m_conn, QStringLiteral("BEGIN IMMEDIATE"));
}

void Database::CommitTrans()
{
    exec(m_conn, QStringLiteral("COMMIT"));
}

void Database::Rollback()
{
    requireOpen(m_conn);
    if (!sqlite3_get_autocommit(m_conn->db))
        exec(m_conn, QStringLiteral("ROLLBACK"));
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
        Stmt stmt = prepare(m_conn, m_sql);
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
    return Recordset::openQuery(m_conn, m_sql, m_values);
}

// ---- Table definitions -------------------------------------------------------------------------

TableDef::TableDef(ConnectionPtr conn, QString name) : m_conn(std::move(conn)), m_name(std::move(name))
{
    reload();
}

void TableDef::reload()
{
    m_fields.clear();
    Stmt info = prepare(m_conn, QStringLiteral("PRAGMA table_info(%1)").arg(sqlIdentifier(m_name)));
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
    exec(m_conn, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(sqlIdentifier(m_name), sqlIdentifier(field.Name), decl));
    reload();
}

} // namespace engine
