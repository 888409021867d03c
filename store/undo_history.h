#pragma once
// Undo and redo of the user's writes, back to the start of the run.
//
// While a library is open, TEMP triggers on Drinks, DrinkRel and Ingredients log each row change to
// a TEMP table (its rowid and old values). A user command wraps its writes in an UndoStep; when the
// outermost step ends, the statements that reverse its committed changes (by rowid, with the old
// values quoted) become one step of the history under the step's label. Undoing a step
// replays its statements backwards in one transaction while the triggers record the statements that
// redo it. Each statement that changes or deletes a row names the row whole, as the step left it,
// so a replay never overwrites what another program wrote since: it changes nothing and says why. Only the connection holds any of this: nothing about undo reaches the file, and a new
// connection (File, Open; compaction) starts with an empty history.
//
// Wrapping a write command is one line at the top of its body:
//
//     UndoStep step(database, QStringLiteral("Rename Ingredient"));
//
// A label may hold "%n", replaced by the number of drinks the step changed (with grouping, and
// "Drinks" in the label becomes "Drink" for one): "Delete %n Drinks" -> "Delete 1,000 Drinks".
// Steps opened inside another step join it. A step whose writes changed nothing, or all failed,
// is not recorded. Writes made outside any step cannot be undone and would make older steps
// unsafe to replay, so the next step or undo drops the history when it finds any.

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class CDatabase;
namespace engine {
class Database;
}

class UndoHistory {
public:
    explicit UndoHistory(CDatabase &owner) : m_owner(owner) {}

    // Sets the triggers up on the newly opened connection of the owner, and forgets every step.
    void attach(engine::Database &db);
    // Forgets every step (the library was closed or is another one now).
    void clear();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The label of the step the next undo (redo) reverses; empty when there is none.
    QString undoLabel() const { return m_undo.empty() ? QString() : m_undo.back().label; }
    QString redoLabel() const { return m_redo.empty() ? QString() : m_redo.back().label; }
    // The keys of the drinks the next undo (redo) changes.
    QList<qint16> undoDrinks() const { return m_undo.empty() ? QList<qint16>() : m_undo.back().drinks; }
    QList<qint16> redoDrinks() const { return m_redo.empty() ? QList<qint16>() : m_redo.back().drinks; }

    // Reverses the last step (or replays the last undone one) in one transaction. On failure
    // nothing is changed, the history stays as it was and the error names the step.
    void undo();
    void redo();

    // The text the steps' statements may hold, in characters: some 100 MB, a few deletions of a
    // whole large library. Older steps go first; the newest always stays, however large.
    static constexpr qsizetype kDefaultCapacity = 48 * 1024 * 1024;
    void setCapacity(qsizetype chars) { m_capacity = chars; }

private:
    friend class UndoStep;
    struct Step {
        QString label;
        QStringList statements; // in the order the rows were changed
        QList<qint16> drinks;
        qint64 othersCommits = 0; // PRAGMA data_version when the step was recorded or replayed
    };
    void begin();
    void end(const QString &label);
    // Moves what the triggers recorded out of the log; `drinks` gets the drinks it touched.
    QStringList takeLog(QList<qint16> &drinks);
    bool logIsEmpty();
    void replay(std::vector<Step> &from, std::vector<Step> &to, const QString &verb);
    void changed();

    CDatabase &m_owner;
    bool m_recording = false; // the triggers are set up on the open connection
    QString m_reversals;      // makes the statements that reverse what the log holds, in order
    QString m_nameTaken;      // whether what the log put in takes another row's name
    int m_depth = 0;
    qsizetype m_capacity = kDefaultCapacity;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
};

// One user command's writes as one step of the undo history (see above).
class UndoStep {
public:
    UndoStep(CDatabase &database, const QString &label);
    ~UndoStep();
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;
    // For a command that knows its label only after it has written.
    void setLabel(const QString &label) { m_label = label; }

private:
    UndoHistory *m_history = nullptr;
    QString m_label;
};
