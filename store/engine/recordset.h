#pragma once
// A record set: the rows of a table (updatable, rows fetched by key as they are visited) or the result
// of a SELECT (read once when opened). Moves, finds by criteria text, field reads and writes,
// AddNew / Edit / Update, Requery.

#include "store/engine/criteria.h"
#include "core/engine_error.h"
#include "store/engine/handles.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace engine {

enum RecordsetType { dbOpenDefault = -1, dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4, dbOpenForwardOnly = 8 };

class Recordset;

// One field of the current row, as Fields(name) gives it.
class Field {
public:
    Field(Recordset *rs, int column) : m_rs(rs), m_column(column) {}
    QVariant Value() const;
    void setValue(const QVariant &value);
    QString Name() const;
    Field &operator=(const QVariant &value)
    {
        setValue(value);
        return *this;
    }

private:
    Recordset *m_rs;
    int m_column;
};

struct ColumnInfo {
    QString name;
    ColumnKind kind = ColumnKind::Untyped;
    int maxLength = 0;
};

class Recordset {
public:
    // Over a table: every row, in the order the rows were stored; updatable unless read-only.
    static std::unique_ptr<Recordset> openTable(const ConnectionPtr &conn, const QString &table, bool updatable);
    // Over a prepared SELECT whose parameters are bound: the rows are read at once, read-only.
    // `storedQuery` names the stored query the text came from: it then runs with read rights only.
    static std::unique_ptr<Recordset> openQuery(const ConnectionPtr &conn, const QString &sql,
                                                const QList<QPair<QString, QVariant>> &parameters,
                                                const QString &storedQuery = QString());
    // Over a SELECT read one row at a time as MoveNext asks for it, for one pass from the first row
    // to the last; moving back, finding and Requery are invalid. RecordCount counts the rows seen.
    static std::unique_ptr<Recordset> openForwardOnly(const ConnectionPtr &conn, const QString &sql);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    bool Bof() const;
    bool Eof() const;
    int RecordCount() const;

    void FindFirst(const QString &criteria);
    void FindNext(const QString &criteria);
    void FindLast(const QString &criteria);
    void FindPrevious(const QString &criteria);
    bool NoMatch() const { return m_noMatch; }

    Field Fields(const QString &name);
    QVariant value(const QString &name) { return Fields(name).Value(); }
    QStringList fieldNames() const;

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    bool updatable() const { return m_updatable; }

    void Requery();
    void Close();

private:
    friend class Field;
    enum class EditMode { None, Edit, AddNew };
    enum class FindDirection { First, Next, Last, Previous };

    Recordset(ConnectionPtr conn) : m_conn(std::move(conn)) {}
    int columnIndex(const QString &name) const;
    int size() const;
    void ensureKeys() const;
    void setPosition(int pos);
    const QVector<QVariant> &currentRow();
    QVariant fieldValue(int column);
    void setFieldValue(int column, const QVariant &value);
    void find(const QString &criteria, FindDirection direction);
    void findInTable(const QList<Comparison> &crit, FindDirection direction);
    void findInRows(const QList<Comparison> &crit, FindDirection direction);
    void runQuery();
    void stepForward();
    [[noreturn]] void failStep(int rc) const;
    void requireScrollable() const;
    void checkUsable() const;

    ConnectionPtr m_conn;
    bool m_isTable = false;
    bool m_updatable = false;
    QString m_source; // table name or SQL text
    QString m_name;   // what messages call the set: its table, its stored query or its SQL text
    bool m_fileSql = false;
    QList<QPair<QString, QVariant>> m_parameters;
    std::vector<ColumnInfo> m_columns;

    // Table sets: the row keys in stored order, fetched when first needed, and the current row.
    mutable std::vector<qint64> m_keys;
    mutable bool m_keysLoaded = false;
    Stmt m_fetch;
    QVector<QVariant> m_row;
    bool m_rowLoaded = false;

    // Query sets: every row.
    std::vector<QVector<QVariant>> m_rows;

    // Forward-only sets: the open statement; the current row is m_row.
    bool m_forwardOnly = false;
    Stmt m_cursor;
    bool m_cursorDone = false;
    qint64 m_cursorDeadline = 0; // when its steps must have ended; set at the first step

    int m_pos = -1; // -1 before the first row, size() after the last
    bool m_noMatch = false;
    EditMode m_mode = EditMode::None;
    QVector<QVariant> m_buffer;
    QVector<bool> m_dirty;
    bool m_closed = false;
};

} // namespace engine
