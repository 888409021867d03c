#include "store/engine/recordset.h"
#include "store/engine/sqlite_support.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/query_guard.h"

#include "store/engine/criteria.h"

#include <algorithm>
#include <optional>

namespace engine {

namespace {
[[noreturn]] void noCurrentRecord()
{
    throw EngineError(err::NoCurrentRecord, QStringLiteral("No current record."));
}
[[noreturn]] void readOnlySet()
{
    throw EngineError(err::ReadOnly, QStringLiteral("Cannot update.  Database or object is read-only."));
}

// A SQL text as messages name it: its first line, cut short.
QString describeSql(const QString &sql)
{
    const QString line = sql.section(QLatin1Char('\n'), 0, 0).simplified();
    return line.size() > 60 ? line.left(57) + QStringLiteral("...") : line;
}
} // namespace

// ---- Field -------------------------------------------------------------------------------------

QVariant Field::Value() const
{
    return m_rs->fieldValue(m_column);
}

void Field::setValue(const QVariant &value)
{
    m_rs->setFieldValue(m_column, value);
}

QString Field::Name() const
{
    return m_rs->m_columns[size_t(m_column)].name;
}

// ---- Opening -----------------------------------------------------------------------------------

std::unique_ptr<Recordset> Recordset::openTable(const ConnectionPtr &conn, const QString &table, bool updatable)
{
    std::unique_ptr<Recordset> rs(new Recordset(conn));
    rs->m_isTable = true;
    rs->m_updatable = updatable;
    rs->m_source = table;
    rs->m_name = table;
    {
        Stmt info = prepare(conn, QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table)));
        while (sqlite3_step(info.get()) == SQLITE_ROW) {
            const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1));
            const auto *type = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 2));
            rs->m_columns.push_back({QString::fromUtf8(name), kindFromDeclType(type), textLengthFromDeclType(type)});
        }
    }
    if (rs->m_columns.empty())
        throw EngineError(err::InputTableNotFound,
                          QStringLiteral("Cannot find the input table or query '%1'.").arg(table));
    QStringList cols;
    for (const ColumnInfo &c : rs->m_columns)
        cols << quotedName(c.name);
    rs->m_fetch = prepare(conn, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(cols.join(QLatin1Char(',')),
                                                                                          quotedName(table)));
    if (!updatable) {
        // A read-only view of a table is a snapshot: read it whole, like a query.
        rs->m_isTable = false;
        rs->m_source = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(cols.join(QLatin1Char(',')),
                                                                               quotedName(table));
        rs->m_fetch.reset();
        rs->m_columns.clear();
        rs->runQuery();
        return rs;
    }
    rs->m_pos = 0; // positioned on the first row, or at the end when the table is empty
    return rs;
}

std::unique_ptr<Recordset> Recordset::openQuery(const ConnectionPtr &conn, const QString &sql,
                                                const QList<QPair<QString, QVariant>> &parameters,
                                                const QString &storedQuery)
{
    std::unique_ptr<Recordset> rs(new Recordset(conn));
    rs->m_source = sql;
    rs->m_name = storedQuery.isEmpty() ? describeSql(sql) : storedQuery;
    rs->m_fileSql = !storedQuery.isEmpty();
    rs->m_parameters = parameters;
    rs->runQuery();
    return rs;
}

std::unique_ptr<Recordset> Recordset::openForwardOnly(const ConnectionPtr &conn, const QString &sql)
{
    std::unique_ptr<Recordset> rs(new Recordset(conn));
    rs->m_source = sql;
    rs->m_name = describeSql(sql);
    rs->m_forwardOnly = true;
    rs->m_cursor = prepare(conn, sql);
    sqlite3_stmt *stmt = rs->m_cursor.get();
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const char *decl = sqlite3_column_decltype(stmt, i);
        rs->m_columns.push_back({QString::fromUtf8(sqlite3_column_name(stmt, i)), kindFromDeclType(decl),
                                 textLengthFromDeclType(decl)});
    }
    rs->m_pos = -1;
    rs->stepForward();
    return rs;
}

// Reads the next row of a forward-only set into m_row, or marks the set as read to its end.
void Recordset::stepForward()
{
    sqlite3_stmt *stmt = m_cursor.get();
    // The set's time bound runs from its first step, the callers' light work between rows
    // included: no clock is read per row, which a pass over every drink line would feel.
    if (m_cursorDeadline == 0)
        m_cursorDeadline = deadlineAfter(timeBudgetNs());
    const qint64 saved = m_conn->deadline;
    m_conn->deadline = m_cursorDeadline;
    const int rc = sqlite3_step(stmt);
    m_conn->deadline = saved;
    ++m_pos;
    m_mode = EditMode::None;
    if (rc == SQLITE_ROW) {
        if (m_pos >= queryLimits().maxRows) {
            m_cursorDone = true;
            m_cursor.reset();
            throwTooManyRows(m_name);
        }
        m_row.resize(int(m_columns.size()));
        for (int i = 0; i < m_row.size(); ++i)
            m_row[i] = readColumn(stmt, i, m_columns[size_t(i)].kind);
        return;
    }
    m_cursorDone = true;
    m_cursor.reset();
    if (rc != SQLITE_DONE)
        failStep(rc);
}

void Recordset::failStep(int rc) const
{
    if (rc == SQLITE_INTERRUPT)
        throwTooLong(m_name);
    throwSqliteError(m_conn->db, rc);
}

void Recordset::requireScrollable() const
{
    if (m_forwardOnly)
        throw EngineError(err::InvalidOperation, QStringLiteral("Invalid operation."));
}

Recordset::~Recordset() = default;

void Recordset::runQuery()
{
    // Kept over the steps too: should a schema change make SQLite prepare the text again while it
    // steps, the file's text is judged again under the same narrow rights.
    std::optional<FileSqlScope> fileSql;
    if (m_fileSql)
        fileSql.emplace(*m_conn);
    Stmt stmt = m_fileSql ? prepareFileSql(m_conn, m_name, m_source) : prepare(m_conn, m_source);
    for (const auto &[name, value] : m_parameters) {
        const int index = sqlite3_bind_parameter_index(stmt.get(), (QLatin1Char(':') + name).toUtf8().constData());
        if (index > 0)
            bindValue(stmt.get(), index, value);
    }
    const int n = sqlite3_column_count(stmt.get());
    if (m_columns.empty()) {
        for (int i = 0; i < n; ++i) {
            const char *decl = sqlite3_column_decltype(stmt.get(), i);
            m_columns.push_back({QString::fromUtf8(sqlite3_column_name(stmt.get(), i)), kindFromDeclType(decl),
                                 textLengthFromDeclType(decl)});
        }
    }
    m_rows.clear();
    const qint64 maxRows = queryLimits().maxRows;
    qint64 textBytes = 0;
    StepClock clock(*m_conn, timeBudgetNs());
    int rc;
    // A join repeats one row's long texts on every row it makes (a drink's directions on each of
    // its lines): such a text is decoded once and shared, not decoded again per row.
    constexpr int kSharedTextBytes = 4096;
    std::vector<QByteArray> lastLongText(static_cast<size_t>(n));
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (qint64(m_rows.size()) >= maxRows) {
            m_rows.clear();
            throwTooManyRows(m_name);
        }
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i) {
            const int bytes = sqlite3_column_bytes(stmt.get(), i);
            if (bytes >= kSharedTextBytes && sqlite3_column_type(stmt.get(), i) == SQLITE_TEXT && !m_rows.empty()) {
                const QByteArray text = QByteArray::fromRawData(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), i)), bytes);
                if (text == lastLongText[size_t(i)]) {
                    row[i] = m_rows.back()[i];
                    continue;
                }
            }
            try {
                countResultBytes(textBytes, bytes, m_name);
            } catch (const EngineError &) {
                m_rows.clear();
                throw;
            }
            row[i] = readColumn(stmt.get(), i, m_columns[size_t(i)].kind);
            if (bytes >= kSharedTextBytes)
                lastLongText[size_t(i)] = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), i)), bytes);
        }
        m_rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        m_rows.clear();
        failStep(rc);
    }
    m_pos = 0;
}

// ---- State -------------------------------------------------------------------------------------

void Recordset::checkUsable() const
{
    if (m_closed)
        throw EngineError(err::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
    if (m_isTable || m_forwardOnly)
        requireOpen(m_conn);
}

void Recordset::ensureKeys() const
{
    if (m_keysLoaded)
        return;
    Stmt keys = prepare(m_conn, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(quotedName(m_source)));
    m_keys.clear();
    const qint64 maxRows = queryLimits().maxRows;
    StepClock clock(*m_conn, timeBudgetNs());
    int rc;
    while ((rc = sqlite3_step(keys.get())) == SQLITE_ROW) {
        if (qint64(m_keys.size()) >= maxRows) {
            m_keys.clear();
            throwTooManyRows(m_name);
        }
        m_keys.push_back(sqlite3_column_int64(keys.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        m_keys.clear();
        failStep(rc);
    }
    m_keysLoaded = true;
}

int Recordset::size() const
{
    if (m_forwardOnly)
        return m_pos + (m_cursorDone ? 0 : 1); // the rows seen so far
    if (m_isTable) {
        ensureKeys();
        return int(m_keys.size());
    }
    return int(m_rows.size());
}

int Recordset::RecordCount() const
{
    checkUsable();
    return size();
}

bool Recordset::Bof() const
{
    checkUsable();
    return m_pos < 0 || size() == 0;
}

bool Recordset::Eof() const
{
    checkUsable();
    return m_pos >= size();
}

void Recordset::setPosition(int pos)
{
    m_mode = EditMode::None; // moving away drops an unsaved edit
    m_pos = pos;
    m_rowLoaded = false;
}

void Recordset::MoveFirst()
{
    checkUsable();
    if (m_forwardOnly) {
        if (m_pos > 0)
            requireScrollable(); // it is there already, or it cannot go back
        return;
    }
    setPosition(0);
}

void Recordset::MoveLast()
{
    checkUsable();
    requireScrollable();
    setPosition(size() == 0 ? 0 : size() - 1);
}

void Recordset::MoveNext()
{
    checkUsable();
    if (m_pos >= size())
        noCurrentRecord();
    if (m_forwardOnly) {
        stepForward();
        return;
    }
    setPosition(m_pos + 1);
}

void Recordset::MovePrevious()
{
    checkUsable();
    requireScrollable();
    if (m_pos < 0 || size() == 0)
        noCurrentRecord();
    setPosition(m_pos - 1);
}

int Recordset::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QStringList Recordset::fieldNames() const
{
    QStringList names;
    for (const ColumnInfo &c : m_columns)
        names << c.name;
    return names;
}

Field Recordset::Fields(const QString &name)
{
    checkUsable();
    const int index = columnIndex(name);
    if (index < 0)
        throw EngineError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    return Field(this, index);
}

const QVector<QVariant> &Recordset::currentRow()
{
    if (m_pos < 0 || m_pos >= size())
        noCurrentRecord();
    if (m_forwardOnly)
        return m_row;
    if (!m_isTable)
        return m_rows[size_t(m_pos)];
    if (!m_rowLoaded) {
        sqlite3_stmt *s = m_fetch.get();
        sqlite3_reset(s);
        sqlite3_bind_int64(s, 1, m_keys[size_t(m_pos)]);
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE)
            throw EngineError(err::RecordDeleted, QStringLiteral("Record is deleted."));
        if (rc != SQLITE_ROW)
            throwSqliteError(m_conn->db, rc);
        m_row.resize(int(m_columns.size()));
        for (int i = 0; i < m_row.size(); ++i)
            m_row[i] = readColumn(s, i, m_columns[size_t(i)].kind);
        sqlite3_reset(s);
        m_rowLoaded = true;
    }
    return m_row;
}

QVariant Recordset::fieldValue(int column)
{
    checkUsable();
    if (m_mode != EditMode::None && m_dirty[column])
        return m_buffer[column];
    if (m_mode == EditMode::AddNew)
        return QVariant();
    return currentRow()[column];
}

void Recordset::setFieldValue(int column, const QVariant &value)
{
    checkUsable();
    if (!m_updatable)
        readOnlySet();
    if (m_mode == EditMode::None)
        throw EngineError(err::UpdateWithoutAddNewOrEdit,
                          QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const ColumnInfo &info = m_columns[size_t(column)];
    m_buffer[column] = convertForColumn(value, info.kind, info.maxLength, info.name);
    m_dirty[column] = true;
}

// ---- Writing -----------------------------------------------------------------------------------

void Recordset::AddNew()
{
    checkUsable();
    if (!m_updatable)
        readOnlySet();
    m_mode = EditMode::AddNew;
    m_buffer = QVector<QVariant>(int(m_columns.size()));
    m_dirty = QVector<bool>(int(m_columns.size()), false);
}

void Recordset::Edit()
{
    checkUsable();
    if (!m_updatable)
        readOnlySet();
    m_buffer = currentRow();
    m_dirty = QVector<bool>(int(m_columns.size()), false);
    m_mode = EditMode::Edit;
}

void Recordset::CancelUpdate()
{
    checkUsable();
    if (m_mode == EditMode::None)
        throw EngineError(err::UpdateWithoutAddNewOrEdit,
                          QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    m_mode = EditMode::None;
}

void Recordset::Update()
{
    checkUsable();
    if (m_mode == EditMode::None)
        throw EngineError(err::UpdateWithoutAddNewOrEdit,
                          QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QStringList names;
    QList<QVariant> values;
    for (int i = 0; i < m_buffer.size(); ++i) {
        if (m_dirty[i]) {
            names << quotedName(m_columns[size_t(i)].name);
            values << m_buffer[i];
        }
    }
    const QString table = quotedName(m_source);
    QString sql;
    if (m_mode == EditMode::AddNew) {
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(table, names.join(QLatin1Char(',')),
                                         QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    } else {
        if (names.isEmpty()) {
            m_mode = EditMode::None;
            return;
        }
        sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(table, names.join(QStringLiteral(" = ?, ")));
    }
    Stmt stmt = prepare(m_conn, sql);
    for (int i = 0; i < values.size(); ++i)
        bindValue(stmt.get(), i + 1, values[i]);
    if (m_mode == EditMode::Edit)
        sqlite3_bind_int64(stmt.get(), int(values.size()) + 1, m_keys[size_t(m_pos)]);
    // Keys read after the insert would hold the new row already, and it would be added twice; keys
    // not read yet will hold it when they are.
    const bool keysKnown = m_keysLoaded;
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_DONE)
        throwSqliteError(m_conn->db, rc);
    if (m_mode == EditMode::Edit && sqlite3_changes(m_conn->db) == 0)
        throw EngineError(err::RecordDeleted, QStringLiteral("Record is deleted."));

    if (m_mode == EditMode::AddNew && keysKnown) {
        // The new row joins the set in key order; the row that was current stays current.
        const qint64 key = sqlite3_last_insert_rowid(m_conn->db);
        const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        const int index = int(at - m_keys.begin());
        m_keys.insert(at, key);
        if (index <= m_pos)
            ++m_pos;
    }
    m_mode = EditMode::None;
    m_rowLoaded = false;
}

// ---- Finding -----------------------------------------------------------------------------------

void Recordset::FindFirst(const QString &criteria) { find(criteria, FindDirection::First); }
void Recordset::FindNext(const QString &criteria) { find(criteria, FindDirection::Next); }
void Recordset::FindLast(const QString &criteria) { find(criteria, FindDirection::Last); }
void Recordset::FindPrevious(const QString &criteria) { find(criteria, FindDirection::Previous); }

void Recordset::find(const QString &criteria, FindDirection direction)
{
    checkUsable();
    requireScrollable();
    const QList<Comparison> crit = parseCriteria(criteria);
    for (const Comparison &c : crit) {
        if (columnIndex(c.column) < 0)
            throw EngineError(err::UnknownField,
                              QStringLiteral("'%1' is not a valid field name in the criteria.").arg(c.column));
    }
    m_mode = EditMode::None;
    if (m_isTable)
        findInTable(crit, direction);
    else
        findInRows(crit, direction);
}

void Recordset::findInTable(const QList<Comparison> &crit, FindDirection direction)
{
    ensureKeys();
    const int n = size();
    const bool forward = direction == FindDirection::First || direction == FindDirection::Next;
    const bool fromCurrent = direction == FindDirection::Next || direction == FindDirection::Previous;
    if (fromCurrent && ((forward && m_pos >= n) || (!forward && m_pos < 0))) {
        m_noMatch = true;
        return;
    }
    // Texts compare by the program's name rule in every column. That rule cannot use the indexes
    // (they are in the file's own NOCASE order), so a first search from the start tries NOCASE
    // first: what it finds is equal under the rule too, and it finds the usual case at once.
    bool anyText = false;
    auto where = [&](QLatin1String collation) {
        QStringList terms;
        for (const Comparison &c : crit) {
            const bool text = c.value.typeId() == QMetaType::QString;
            anyText = anyText || text;
            terms << QStringLiteral("%1 %2 ?%3").arg(quotedName(m_columns[size_t(columnIndex(c.column))].name), c.op,
                                                     text ? collation : QLatin1String());
        }
        if (fromCurrent && m_pos >= 0 && m_pos < n)
            terms << QStringLiteral("rowid %1 %2").arg(forward ? QLatin1String(">") : QLatin1String("<")).arg(m_keys[size_t(m_pos)]);
        return terms.join(QStringLiteral(" AND "));
    };
    auto firstKey = [&](const QString &condition) -> std::optional<qint64> {
        const QString sql = QStringLiteral("SELECT %1(rowid) FROM %2 WHERE %3")
                                .arg(forward ? QLatin1String("min") : QLatin1String("max"), quotedName(m_source), condition);
        Stmt stmt = prepare(m_conn, sql);
        for (int i = 0; i < crit.size(); ++i)
            bindValue(stmt.get(), i + 1, crit[i].value);
        int rc;
        {
            StepClock clock(*m_conn, timeBudgetNs());
            rc = sqlite3_step(stmt.get());
        }
        if (rc != SQLITE_ROW)
            failStep(rc);
        if (sqlite3_column_type(stmt.get(), 0) == SQLITE_NULL)
            return std::nullopt;
        return sqlite3_column_int64(stmt.get(), 0);
    };
    const bool onlyEquality = std::all_of(crit.cbegin(), crit.cend(), [](const Comparison &c) { return c.op == QLatin1String("="); });
    std::optional<qint64> found;
    const QString byRule = where(QLatin1String(" COLLATE NAMEKEY"));
    if (anyText && onlyEquality && !fromCurrent)
        found = firstKey(where(QLatin1String(" COLLATE NOCASE")));
    if (!found)
        found = firstKey(byRule);
    if (!found) {
        m_noMatch = true;
        return;
    }
    const qint64 key = *found;
    auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key);
    if (at == m_keys.end() || *at != key)
        at = m_keys.insert(at, key); // a row stored by an action query after the set was opened
    m_noMatch = false;
    setPosition(int(at - m_keys.begin()));
}

void Recordset::findInRows(const QList<Comparison> &crit, FindDirection direction)
{
    const int n = size();
    auto matches = [&](int i) {
        for (const Comparison &c : crit) {
            if (!compareMatches(m_rows[size_t(i)][columnIndex(c.column)], c))
                return false;
        }
        return true;
    };
    int start = 0, step = 1;
    switch (direction) {
    case FindDirection::First: start = 0; step = 1; break;
    case FindDirection::Next: start = m_pos + 1; step = 1; break;
    case FindDirection::Last: start = n - 1; step = -1; break;
    case FindDirection::Previous: start = m_pos - 1; step = -1; break;
    }
    for (int i = std::max(-1, start); i >= 0 && i < n; i += step) {
        if (matches(i)) {
            m_noMatch = false;
            setPosition(i);
            return;
        }
    }
    m_noMatch = true;
}

// ---- Refreshing --------------------------------------------------------------------------------

void Recordset::Requery()
{
    checkUsable();
    requireScrollable();
    m_mode = EditMode::None;
    if (m_isTable) {
        m_keys.clear();
        m_keysLoaded = false; // read again when first needed: a write may re-read its sets often
        setPosition(0);
    } else {
        runQuery();
        setPosition(0);
    }
}

void Recordset::Close()
{
    m_cursor.reset();
    m_fetch.reset();
    m_rows.clear();
    m_keys.clear();
    m_closed = true;
}

} // namespace engine
