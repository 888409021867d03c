#pragma once
// The database object of the data-access layer: opening a keyed SQLCipher file, record sets over
// tables, SQL texts and stored queries, action queries, table definitions, transactions and compaction.

#include "store/engine/query_guard.h"
#include "store/engine/recordset.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

namespace engine {

constexpr int dbFailOnError = 128;
constexpr int dbEncrypt = 2;
// Field types of CreateField.
enum FieldType { dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbSingle = 6, dbDouble = 7, dbText = 10, dbMemo = 12 };

// The database password of the program's files, as the connect text names it.
inline const QString kConnect = QStringLiteral(";PWD=qorvbelz");

class Database;

// A stored query: its SQL lives in the file; named parameters are set, then the query is opened.
class QueryDef {
public:
    class Parameter {
    public:
        Parameter(QueryDef *def, QString name) : m_def(def), m_name(std::move(name)) {}
        void setValue(const QVariant &value);
        QVariant Value() const;
        Parameter &operator=(const QVariant &value)
        {
            setValue(value);
            return *this;
        }

    private:
        QueryDef *m_def;
        QString m_name;
    };

    QString Name() const { return m_name; }
    QString SQL() const { return m_sql; }
    QStringList parameterNames() const { return m_parameterNames; }
    Parameter Parameters(const QString &name);
    std::unique_ptr<Recordset> OpenRecordset(int type = dbOpenDefault);
    // The texts of one column of every row, read as a record set would read them (the same rights,
    // limits and errors) without building one: for the long name lists of searches.
    QStringList textColumn(const QString &column);

private:
    friend class Database;
    friend class Parameter;
    QueryDef(ConnectionPtr conn, QString name, QString sql);
    ConnectionPtr m_conn;
    QString m_name;
    QString m_sql;
    QStringList m_parameterNames;
    QList<QPair<QString, QVariant>> m_values;
};

// A field definition: read from a table, or made by CreateField and not yet appended.
struct FieldDef {
    QString Name;
    int Type = dbText;
    int Size = 0;
};

class TableDef {
public:
    QString Name() const { return m_name; }
    const QList<FieldDef> &fieldList() const { return m_fields; }
    // Throws ItemNotFound (3265) when the table has no such field.
    FieldDef Fields(const QString &name) const;
    FieldDef CreateField(const QString &name, int type, int size = 0) const;
    // Adds the field to the stored table; existing rows get the type's empty value.
    void Append(const FieldDef &field);

private:
    friend class Database;
    TableDef(ConnectionPtr conn, QString name);
    void reload();
    ConnectionPtr m_conn;
    QString m_name;
    QList<FieldDef> m_fields;
};

class Database {
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString Name() const;
    // A table name, a stored query's name or a SELECT text in the classic dialect.
    std::unique_ptr<Recordset> OpenRecordset(const QString &source, int type = dbOpenDefault);
    QueryDef QueryDefs(const QString &name);
    QStringList queryDefNames();
    TableDef TableDefs(const QString &name);
    QStringList tableNames();
    // Runs an action query (DELETE, UPDATE, INSERT) in the classic dialect.
    void Execute(const QString &sql, int options = 0);
    int RecordsAffected() const { return m_recordsAffected; }

    void BeginTrans();
    void CommitTrans();
    void Rollback();
    // A named point inside a transaction: the work after it can be undone alone, or kept.
    void Savepoint(const QString &name);
    void ReleaseSavepoint(const QString &name);
    void RollbackToSavepoint(const QString &name);
    bool inTransaction() const;

    void Close();
    bool isOpen() const;
    // The program's own statement in SQLite's dialect that gives one whole number (a count, a
    // pragma's value).
    qint64 scalar(const QString &sql);
    // The first column of every row of the program's own statement in SQLite's dialect, with
    // `texts` bound to its parameters in order: for long lists of names, without a record set.
    QStringList textColumn(const QString &sql, const QStringList &texts = {});
    // The program's own statement in SQLite's dialect, run as written (no dialect translation):
    // gives the number of rows it changed itself.
    int executeNative(const QString &sql);
    // Reads and decrypts every page and checks every tree; false when anything is damaged.
    bool quickCheck();
    // The beginning of a long text, read without loading the rest of it: at most `maxBytes` of
    // its UTF-8 (cut before a split character) and the length of the whole in bytes.
    struct TextStart {
        QString text;
        qint64 totalBytes = 0;
    };
    TextStart readTextStart(const QString &table, const QString &column, qint64 rowid, int maxBytes);
    sqlite3 *handle() const;
    // Where the file's contents stand: the rows this connection has written since it opened, and
    // the count of commits by other connections. Equal stamps mean nothing changed in between.
    std::pair<qint64, qint64> changeStamp();

private:
    friend std::unique_ptr<Database> OpenDatabase(const QString &, bool, bool, const QString &);
    friend std::unique_ptr<Database> CreateDatabase(const QString &, const QString &);
    friend void CompactDatabase(const QString &, const QString &, const QString &, int, const QString &);
    friend void BackupDatabase(Database &, const QString &, const QString &);
    friend void CheckLibraryFile(Database &);
    explicit Database(ConnectionPtr conn) : m_conn(std::move(conn)) {}
    ConnectionPtr m_conn;
    int m_recordsAffected = 0;
};

// Opens an existing file. Failures are numbered: 3024 missing file, 3031 wrong password (only for a
// password other than the program's own), 3343 not a database (a text file, an unencrypted or empty
// file, one that does not decrypt under the program's password), 3049 damaged or truncated,
// 3045 in use by another program, 3051 cannot be opened (a folder, no permission).
std::unique_ptr<Database> OpenDatabase(const QString &path, bool exclusive = false, bool readOnly = false,
                                       const QString &connect = kConnect);
// Checks that an opened file is a drink library the program may use: 3078 names a missing table or
// stored query; 3033 names a stored query that would do more than read the library's tables, or a
// trigger. The older layout without Ingredients.Has passes; the caller adds the field.
void CheckLibraryFile(Database &db);
// Makes a new, empty, keyed file; 3204 when the file exists already.
std::unique_ptr<Database> CreateDatabase(const QString &path, const QString &connect = kConnect);
// Writes a compacted copy of the closed file `source` to the new file `destination`, keyed with the
// same password. `sourceConnect` opens the source.
void CompactDatabase(const QString &source, const QString &destination, const QString &destinationLocale = QString(),
                     int options = dbEncrypt, const QString &sourceConnect = kConnect);

// Writes a consistent copy of the open `source` (as its last commit left it) to the new file
// `destination`, keyed with the password of `connect`, and flushes it to disk; SQLite's online
// backup, page by page. 3204 when the file exists; a failure deletes what was written.
void BackupDatabase(Database &source, const QString &destination, const QString &connect = kConnect);

// The password a connect text carries (";PWD=secret" -> "secret"); empty when it names none.
QString passwordFromConnect(const QString &connect);
// The SQLCipher version linked in; empty when the library is plain SQLite.
QString cipherVersion();

} // namespace engine
