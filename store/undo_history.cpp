#include "store/undo_history.h"

#include "core/number_format.h"
#include "store/CDatabase.h"
#include "store/engine/name_sql.h"
#include "store/write_transaction.h"

#include <algorithm>

namespace {

const QString kLog = QStringLiteral("temp.zestro_undo_log");

QString identifier(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A text that becomes part of a string literal of the trigger's body.
QString inLiteral(const QString &text)
{
    return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
}

struct Recorded {
    const char *table;
    const char *drinkColumn; // the column naming the drink a row belongs to; null for none
    const char *nameColumn;  // the row's name, which no other row may share under the name rule; null for none
};

const Recorded kRecorded[] = {{"Drinks", "ID", "Name"}, {"DrinkRel", "DrinkID", nullptr}, {"Ingredients", nullptr, "Ingredient"}};

// What the triggers log: the row's rowid (for an update the new one, and the old one in oldrid),
// for a delete or an update the row's old values in v0, v1, ..., and for an insert or an update its
// new ones in w0, w1, ... The triggers only copy values: every statement that changes a table
// compiles them in, so they must cost next to nothing there. The statements that reverse the
// changes are made from the log once, when a step ends.
enum Op { Inserted = 0, Deleted = 1, Updated = 2 };

// Why a replay stops. Another program (one that takes no file lock, such as the sqlcipher shell)
// may write to the library between the step and its replay.
const QString kNotAsLeft = QStringLiteral("A row it would change is no longer as it was left.");
const QString kChangedElsewhere = QStringLiteral("Another program has changed the library since then, and a row it would change "
                                                 "is no longer as it was left.");
const QString kTakenElsewhere = QStringLiteral("Another program has changed the library since then, and a row it would put back "
                                               "now has the number or the name of a row that program wrote.");

QString valueColumns(qsizetype count, const QString &prefix)
{
    QStringList names;
    for (qsizetype i = 0; i < count; ++i)
        names << prefix + QString::number(i);
    return names.join(QStringLiteral(", "));
}

// The three triggers of one table. The columns come from the file itself: an old library may lack one.
QStringList triggersFor(int index, const QStringList &columns)
{
    const Recorded &recorded = kRecorded[index];
    const QString table = identifier(QString::fromLatin1(recorded.table));
    auto drinkOf = [&recorded](const char *row) {
        return recorded.drinkColumn ? QStringLiteral("%1.%2").arg(QLatin1String(row), identifier(QString::fromLatin1(recorded.drinkColumn)))
                                    : QStringLiteral("NULL");
    };
    QStringList oldValues;
    QStringList newValues;
    QStringList differences{QStringLiteral("old.rowid IS NOT new.rowid")};
    for (const QString &column : columns) {
        oldValues << QStringLiteral("old.") + identifier(column);
        newValues << QStringLiteral("new.") + identifier(column);
        // Byte for byte: a change of letter case alone is a change too.
        differences << QStringLiteral("old.%1 IS NOT new.%1 COLLATE BINARY").arg(identifier(column));
    }
    const QString head = QStringLiteral("CREATE TEMP TRIGGER zestro_undo_%1_%2 AFTER %3 ON main.%4 ")
                             .arg(QString::fromLatin1(recorded.table), QStringLiteral("%1"), QStringLiteral("%2"), table);
    const QString values = valueColumns(columns.size(), QStringLiteral("v"));
    const QString after = valueColumns(columns.size(), QStringLiteral("w"));
    return {
        head.arg(QStringLiteral("insert"), QStringLiteral("INSERT"))
            + QStringLiteral("BEGIN INSERT INTO zestro_undo_log (tbl, op, rid, drink, %1) VALUES (%2, %3, new.rowid, %4, %5); END")
                  .arg(after)
                  .arg(index)
                  .arg(int(Inserted))
                  .arg(drinkOf("new"), newValues.join(QStringLiteral(", "))),
        head.arg(QStringLiteral("delete"), QStringLiteral("DELETE"))
            + QStringLiteral("BEGIN INSERT INTO zestro_undo_log (tbl, op, rid, drink, %1) VALUES (%2, %3, old.rowid, %4, %5); END")
                  .arg(values)
                  .arg(index)
                  .arg(int(Deleted))
                  .arg(drinkOf("old"), oldValues.join(QStringLiteral(", "))),
        head.arg(QStringLiteral("update"), QStringLiteral("UPDATE")) + QStringLiteral("WHEN ") + differences.join(QStringLiteral(" OR "))
            + QStringLiteral(" BEGIN INSERT INTO zestro_undo_log (tbl, op, rid, oldrid, drink, %1, %2) "
                             "VALUES (%3, %4, new.rowid, old.rowid, %5, %6, %7); END")
                  .arg(values, after)
                  .arg(index)
                  .arg(int(Updated))
                  .arg(drinkOf("new"), oldValues.join(QStringLiteral(", ")), newValues.join(QStringLiteral(", "))),
    };
}

// The expression that makes, from one logged change of the table, the statement reversing it. An
// update or a delete names the row whole, as the change left it, byte for byte: a row that anything
// else has changed since is not touched, and the replay stops.
QString reversalOf(int index, const QStringList &columns)
{
    const QString target = inLiteral(QStringLiteral("main.") + identifier(QString::fromLatin1(kRecorded[index].table)));
    QStringList names;
    QStringList values;
    QStringList assignments;
    QString asLeft = QStringLiteral("rid");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString name = inLiteral(identifier(columns[i]));
        names << name;
        values << QStringLiteral("quote(v%1)").arg(i);
        assignments << QStringLiteral("', %1 = ' || quote(v%2)").arg(name).arg(i);
        asLeft += QStringLiteral(" || ' AND %1 IS ' || quote(w%2) || ' COLLATE BINARY'").arg(name, QString::number(i));
    }
    return QStringLiteral("WHEN tbl = %1 AND op = %2 THEN 'DELETE FROM %3 WHERE rowid = ' || %4 ")
               .arg(index)
               .arg(int(Inserted))
               .arg(target, asLeft)
           + QStringLiteral("WHEN tbl = %1 AND op = %2 THEN 'INSERT INTO %3(rowid, %4) VALUES (' || rid || ', ' || %5 || ')' ")
                 .arg(index)
                 .arg(int(Deleted))
                 .arg(target, names.join(QStringLiteral(", ")), values.join(QStringLiteral(" || ', ' || ")))
           + QStringLiteral("WHEN tbl = %1 AND op = %2 THEN 'UPDATE %3 SET rowid = ' || oldrid || %4 || ' WHERE rowid = ' || %5 ")
                 .arg(index)
                 .arg(int(Updated))
                 .arg(target, assignments.join(QStringLiteral(" || ")), asLeft);
}

// Whether a row that the changes in the log put in or renamed shares its name with another row of
// its table under the name rule.
QString nameTakenQuery(const QList<QStringList> &columns)
{
    QStringList checks;
    for (int index = 0; index < int(columns.size()); ++index) {
        const char *nameColumn = kRecorded[index].nameColumn;
        const auto it = std::find_if(columns[index].cbegin(), columns[index].cend(), [nameColumn](const QString &column) {
            return nameColumn && column.compare(QLatin1String(nameColumn), Qt::CaseInsensitive) == 0;
        });
        if (it == columns[index].cend())
            continue;
        const qsizetype at = it - columns[index].cbegin();
        const QString table = QStringLiteral("main.") + identifier(QString::fromLatin1(kRecorded[index].table));
        const QString name = identifier(columns[index][at]);
        checks << QStringLiteral("EXISTS (SELECT 1 FROM %1 AS l JOIN %2 AS r ON r.rowid = l.rid WHERE l.tbl = %3 "
                                 "AND (l.op = %4 OR l.op = %5 AND l.v%6 IS NOT l.w%6 COLLATE BINARY) "
                                 "AND EXISTS (SELECT 1 FROM %2 AS o WHERE o.%7 = r.%7 COLLATE %8 AND o.rowid <> r.rowid))")
                      .arg(kLog, table)
                      .arg(index)
                      .arg(int(Inserted))
                      .arg(int(Updated))
                      .arg(at)
                      .arg(name, QLatin1String(engine::kNameCollation));
    }
    return checks.isEmpty() ? QStringLiteral("SELECT 0") : QStringLiteral("SELECT ") + checks.join(QStringLiteral(" OR "));
}

// Changes when another connection commits to the file; this connection's own writes, the history's
// TEMP log among them, leave it as it is.
qint64 othersCommits(engine::Database &db)
{
    return db.scalar(QStringLiteral("PRAGMA main.data_version"));
}

qsizetype charsOf(const QStringList &statements)
{
    qsizetype chars = 0;
    for (const QString &s : statements)
        chars += s.size();
    return chars;
}

QString labelFor(QString label, qsizetype drinks)
{
    if (!label.contains(QLatin1String("%n")))
        return label;
    if (drinks == 1)
        label.replace(QLatin1String("Drinks"), QLatin1String("Drink"));
    return label.replace(QLatin1String("%n"), formatThousands(double(drinks)));
}

} // namespace

// ---- Setting up and forgetting ------------------------------------------------------------------

void UndoHistory::attach(engine::Database &db)
{
    clear();
    m_recording = false;
    // The log stays in memory, never in a file beside the library. Set before any TEMP object
    // exists: a change afterwards would drop them.
    db.executeNative(QStringLiteral("PRAGMA temp_store = MEMORY"));
    // All or nothing: a connection with half the triggers would log steps it cannot replay.
    db.executeNative(QStringLiteral("SAVEPOINT undo_setup"));
    try {
        QList<QStringList> columns;
        qsizetype widest = 0;
        for (const Recorded &recorded : kRecorded) {
            const engine::TableDef table = db.TableDefs(QString::fromLatin1(recorded.table));
            columns.append(QStringList());
            for (const engine::FieldDef &field : table.fieldList())
                columns.last() << field.Name;
            widest = std::max(widest, columns.last().size());
        }
        db.executeNative(QStringLiteral("CREATE TEMP TABLE zestro_undo_log (seq INTEGER PRIMARY KEY, tbl INTEGER, op INTEGER, "
                                        "rid INTEGER, oldrid INTEGER, drink INTEGER, %1, %2)")
                             .arg(valueColumns(widest, QStringLiteral("v")), valueColumns(widest, QStringLiteral("w"))));
        m_reversals = QStringLiteral("SELECT CASE ");
        for (int index = 0; index < int(columns.size()); ++index) {
            for (const QString &trigger : triggersFor(index, columns[index]))
                db.executeNative(trigger);
            m_reversals += reversalOf(index, columns[index]);
        }
        m_reversals += QStringLiteral("END FROM %1 ORDER BY seq").arg(kLog);
        m_nameTaken = nameTakenQuery(columns);
        db.executeNative(QStringLiteral("RELEASE undo_setup"));
        m_recording = true;
    } catch (const EngineError &) {
        // The library works without undo; the menu then offers none.
        db.executeNative(QStringLiteral("ROLLBACK TO undo_setup"));
        db.executeNative(QStringLiteral("RELEASE undo_setup"));
    }
}

void UndoHistory::clear()
{
    const bool had = !m_undo.empty() || !m_redo.empty();
    m_undo.clear();
    m_redo.clear();
    if (!m_owner.isOpen())
        m_recording = false;
    if (had)
        changed();
}

void UndoHistory::changed()
{
    if (OutputWindow *out = m_owner.output())
        out->undoHistoryChanged();
}

// ---- Recording ----------------------------------------------------------------------------------

bool UndoHistory::logIsEmpty()
{
    return m_owner.database().scalar(QStringLiteral("SELECT NOT EXISTS (SELECT 1 FROM %1)").arg(kLog)) != 0;
}

QStringList UndoHistory::takeLog(QList<qint16> &drinks)
{
    engine::Database &db = m_owner.database();
    const QStringList statements = db.textColumn(m_reversals);
    drinks.clear();
    for (const QString &key : db.textColumn(QStringLiteral("SELECT DISTINCT drink FROM %1 WHERE drink IS NOT NULL ORDER BY drink").arg(kLog)))
        drinks << qint16(key.toInt());
    db.executeNative(QStringLiteral("DELETE FROM %1").arg(kLog));
    return statements;
}

void UndoHistory::begin()
{
    if (m_depth++ > 0 || !m_recording || !m_owner.isOpen())
        return;
    if (!logIsEmpty()) {
        // Written behind the history's back: the older steps may no longer fit the rows.
        QList<qint16> unused;
        takeLog(unused);
        clear();
    }
}

void UndoHistory::end(const QString &label)
{
    if (--m_depth > 0 || !m_recording || !m_owner.isOpen())
        return;
    // Still inside somebody's transaction: the rows logged may yet be rolled back. They stay in the
    // log, and the next step drops the history rather than guess.
    if (m_owner.database().inTransaction())
        return;
    Step step;
    step.statements = takeLog(step.drinks);
    if (step.statements.isEmpty())
        return;
    step.label = labelFor(label, step.drinks.size());
    step.othersCommits = othersCommits(m_owner.database());
    m_undo.push_back(std::move(step));
    m_redo.clear();
    qsizetype chars = 0;
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) {
        chars += charsOf(it->statements);
        if (chars > m_capacity && it != m_undo.rbegin()) {
            m_undo.erase(m_undo.begin(), it.base());
            break;
        }
    }
    changed();
}

// ---- Replaying ----------------------------------------------------------------------------------

void UndoHistory::undo()
{
    replay(m_undo, m_redo, QStringLiteral("undo"));
}

void UndoHistory::redo()
{
    replay(m_redo, m_undo, QStringLiteral("redo"));
}

void UndoHistory::replay(std::vector<Step> &from, std::vector<Step> &to, const QString &verb)
{
    if (from.empty() || !m_recording)
        return;
    Step &step = from.back();
    engine::Database &db = m_owner.database();
    if (!logIsEmpty()) {
        QList<qint16> unused;
        takeLog(unused);
        clear();
        throw EngineError(err::NoCurrentRecord, QStringLiteral("The library was changed in a way Zestro could not record, so the "
                                                               "earlier changes can no longer be undone or redone.  Nothing was changed."));
    }
    Step reverse{step.label, {}, {}, 0};
    try {
        WriteTransaction transaction(m_owner);
        // Read inside the transaction: nobody else can commit from here on.
        const bool othersWrote = othersCommits(db) != step.othersCommits;
        for (auto it = step.statements.crbegin(); it != step.statements.crend(); ++it) {
            // Each statement names one row by its rowid and, but for an insert, by all it held as
            // the step left it; a row that is not there any more, or not so, means the library no
            // longer is what the step left. An insert fails on a number another row took since.
            int rows = 0;
            try {
                rows = db.executeNative(*it);
            } catch (const EngineError &e) {
                // A row put back whose key or rowid another row took since.
                if (othersWrote && it->startsWith(QLatin1String("INSERT")) && !isStorageFailure(e.number()))
                    throw EngineError(err::DuplicateValue, kTakenElsewhere);
                throw;
            }
            if (rows != 1)
                throw EngineError(err::NoCurrentRecord, othersWrote ? kChangedElsewhere : kNotAsLeft);
        }
        // A drink or an ingredient put back or renamed must not take the name of one the other
        // program wrote; only then is it worth the search.
        if (othersWrote && db.scalar(m_nameTaken) != 0)
            throw EngineError(err::DuplicateValue, kTakenElsewhere);
        reverse.statements = takeLog(reverse.drinks);
        transaction.commit();
        reverse.othersCommits = othersCommits(db);
    } catch (const EngineError &e) {
        throw EngineError(e.number(), QStringLiteral("Could not %1 %2.  %3  Nothing was changed.").arg(verb, step.label, e.description()));
    }
    // The table sets' cached keys may name rows that are gone or miss rows that are back.
    m_owner.drinksTable().Requery();
    m_owner.ingredientsTable().Requery();
    m_owner.drinkRelTable().Requery();
    reverse.drinks = step.drinks;
    from.pop_back();
    to.push_back(std::move(reverse));
    changed();
}

// ---- UndoStep -----------------------------------------------------------------------------------

UndoStep::UndoStep(CDatabase &database, const QString &label) : m_history(&database.undoHistory()), m_label(label)
{
    try {
        m_history->begin();
    } catch (const EngineError &) {
        m_history->clear(); // the write goes on; it only cannot be undone
    }
}

UndoStep::~UndoStep()
{
    try {
        m_history->end(m_label);
    } catch (...) {
        m_history->clear();
    }
}
