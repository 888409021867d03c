// Opening, creating and compacting database files, and telling why a file will not open.

#include "store/engine/database.h"
#include "store/engine/name_sql.h"
#include "store/engine/sqlite_support.h"

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
    guardConnection(*conn);
    const QString password = passwordFromConnect(connect);
    if (!password.isEmpty())
        execute(conn, QStringLiteral("PRAGMA key = %1").arg(sqlString(password)));
    sqlite3_busy_timeout(conn->db, kBusyTimeoutMs);
    registerNameRules(conn->db);
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
        execute(conn, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));

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
                if (primary == SQLITE_NOTADB && info.size() % 1024 == 0) {
                    // The program keys every file with its own password, which the user never types:
                    // a file that will not decrypt under it was made by something else, by another
                    // version of the cipher, or has a damaged first page.
                    if (passwordFromConnect(connect) == passwordFromConnect(kConnect))
                        throw EngineError(err::UnrecognizedFormat,
                                          QStringLiteral("'%1' is not a Zestro database, or it is damaged.").arg(path));
                    throw EngineError(err::NotValidPassword, QStringLiteral("Not a valid password."));
                }
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
    execute(conn, QStringLiteral("PRAGMA cache_size = -%1").arg(kCacheKiB));
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

namespace {
void discardCopy(Database &source, const QString &destination)
{
    source.Close();
    QFile::remove(destination);
    // A journal left beside the name would be played back into the next file made under it.
    QFile::remove(destination + QStringLiteral("-journal"));
}
} // namespace

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
        execute(src->m_conn, QStringLiteral("ATTACH DATABASE %1 AS compacted KEY %2").arg(sqlString(destination), sqlString(key)));
        // The copy is written without a journal and flushed once at the end, not once per copied
        // table: a copy that fails half-way is deleted below and never used.
        execute(src->m_conn, QStringLiteral("PRAGMA compacted.journal_mode = OFF"));
        execute(src->m_conn, QStringLiteral("PRAGMA compacted.synchronous = OFF"));
        exportInto(src->m_conn, QStringLiteral("compacted"));
        execute(src->m_conn, QStringLiteral("PRAGMA compacted.user_version = %1").arg(userVersion));
        execute(src->m_conn, QStringLiteral("DETACH DATABASE compacted"));
        src->Close();
        flushToDisk(destination);
    } catch (const EngineError &e) {
        // SQLite opens a file it may not open for writing (no descriptor left, say) read-only
        // instead, and the reason is lost; the copy we just created is ours to write, so ask the
        // system again for it rather than call the library read-only.
        QString why = QStringLiteral("the system opened it for reading only");
        if (e.number() == err::ReadOnly) {
            const int fd = ::open(QFile::encodeName(destination).constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0)
                why = QString::fromLocal8Bit(std::strerror(errno));
            else
                ::close(fd);
        }
        discardCopy(*src, destination);
        if (e.number() == err::ReadOnly)
            throw EngineError(err::CannotOpenFile, QStringLiteral("Cannot write the compacted copy '%1' (%2).").arg(destination, why));
        throw;
    } catch (...) {
        discardCopy(*src, destination);
        throw;
    }
}

void BackupDatabase(Database &source, const QString &destination, const QString &connect)
{
    requireCipher();
    requireOpen(source.m_conn);
    if (QFileInfo::exists(destination))
        throw EngineError(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(destination));
    try {
        ConnectionPtr copy = openConnection(destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, connect);
        // A copy that fails half-way is deleted and never used: no journal, one flush at the end.
        execute(copy, QStringLiteral("PRAGMA journal_mode = OFF"));
        execute(copy, QStringLiteral("PRAGMA synchronous = OFF"));
        sqlite3_backup *backup = sqlite3_backup_init(copy->db, "main", source.m_conn->db, "main");
        if (!backup)
            throwSqliteError(copy->db, sqlite3_errcode(copy->db));
        const int stepped = sqlite3_backup_step(backup, -1);
        const int finished = sqlite3_backup_finish(backup);
        if (stepped != SQLITE_DONE)
            throwSqliteError(copy->db, stepped);
        if (finished != SQLITE_OK)
            throwSqliteError(copy->db, finished);
        copy->close();
        flushToDisk(destination);
    } catch (...) {
        QFile::remove(destination);
        QFile::remove(destination + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace engine
