#include "store/undo_history.h"

#include "core/number_format.h"
#include "store/CDatabase.h"
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
};

const Recorded kRecorded[] = {{"Drinks", "ID"}, {"DrinkRel", "DrinkID"}, {"Ingredients", nullptr}};

// The three triggers that log, for each row changed in `table`, the statement that changes it back.
// The columns come from the file itself: an old library may lack one.
QStringList triggersFor(const Recorded &recorded, const QStringList &columns)
{
    const QString table = QString::fromLatin1(recorded.table);
    const QString target = inLiteral(QStringLiteral("main.") + identifier(table));
    auto drinkOf = [&recorded](const char *row) {
        return recorded.drinkColumn ? QStringLiteral("%1.%2").arg(QLatin1String(row), identifier(QString::fromLatin1(recorded.drinkColumn)))
                                    : QStringLiteral("NULL");
    };
    QStringList names;
    QStringList oldValues;
    QStringList assignments;
    QStringList differences{QStringLiteral("old.rowid IS NOT new.rowid")};
    for (const QString &column : columns) {
        const QString c = identifier(column);
        names << inLiteral(c);
        oldValues << QStringLiteral("quote(old.%1)").arg(c);
        // Byte for byte: a change of letter case alone is a change too.
        const QString differs = QStringLiteral("old.%1 IS NOT new.%1 COLLATE BINARY").arg(c);
        differences << differs;
        // Only the columns that changed: marking a set keeps no copy of every drink's directions.
        assignments << QStringLiteral("CASE WHEN %1 THEN ', %2 = ' || quote(old.%3) ELSE '' END").arg(differs, inLiteral(c), c);
    }
    const QString head = QStringLiteral("CREATE TEMP TRIGGER zestro_undo_%1_%2 AFTER %3 ON main.%4 ");
    const QString log = QStringLiteral("BEGIN INSERT INTO zestro_undo_log(drink, sql) VALUES (%1, %2); END");
    return {
        head.arg(table, QStringLiteral("insert"), QStringLiteral("INSERT"), identifier(table))
            + log.arg(drinkOf("new"), QStringLiteral("'DELETE FROM %1 WHERE rowid = ' || new.rowid").arg(target)),
        head.arg(table, QStringLiteral("delete"), QStringLiteral("DELETE"), identifier(table))
            + log.arg(drinkOf("old"), QStringLiteral("'INSERT INTO %1(rowid, %2) VALUES (' || old.rowid || ', ' || %3 || ')'")
                                          .arg(target, names.join(QStringLiteral(", ")),
                                               oldValues.join(QStringLiteral(" || ', ' || ")))),
        head.arg(table, QStringLiteral("update"), QStringLiteral("UPDATE"), identifier(table)) + QStringLiteral("WHEN ")
            + differences.join(QStringLiteral(" OR ")) + QLatin1Char(' ')
            + log.arg(drinkOf("new"), QStringLiteral("'UPDATE %1 SET rowid = ' || old.rowid || %2 || ' WHERE rowid = ' || new.rowid")
                                          .arg(target, assignments.join(QStringLiteral(" || ")))),
    };
}

// The text the history may hold: some 100 MB, a few deletions of a whole large library. Older steps
// go first; the newest always stays.
constexpr qsizetype kMaxHistoryChars = 48 * 1024 * 1024;

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
        db.executeNative(QStringLiteral("CREATE TEMP TABLE zestro_undo_log (seq INTEGER PRIMARY KEY, drink INTEGER, sql TEXT NOT NULL)"));
        for (const Recorded &recorded : kRecorded) {
            QStringList columns;
            const engine::TableDef table = db.TableDefs(QString::fromLatin1(recorded.table));
            for (const engine::FieldDef &field : table.fieldList())
                columns << field.Name;
            for (const QString &trigger : triggersFor(recorded, columns))
                db.executeNative(trigger);
        }
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
    const QStringList statements = db.textColumn(QStringLiteral("SELECT sql FROM %1 ORDER BY seq").arg(kLog));
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
    m_undo.push_back(std::move(step));
    m_redo.clear();
    qsizetype chars = 0;
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) {
        chars += charsOf(it->statements);
        if (chars > kMaxHistoryChars && it != m_undo.rbegin()) {
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
    Step reverse{step.label, {}, {}};
    try {
        WriteTransaction transaction(m_owner);
        for (auto it = step.statements.crbegin(); it != step.statements.crend(); ++it) {
            // Each statement names one row by its rowid; a row that is not there any more means
            // the library no longer is what the step left.
            if (db.executeNative(*it) != 1)
                throw EngineError(err::NoCurrentRecord, QStringLiteral("A row it would change is no longer as it was left."));
        }
        reverse.statements = takeLog(reverse.drinks);
        transaction.commit();
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
