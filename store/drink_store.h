#pragma once
// Drinks and their lines in the open library: every statement over the Drinks and DrinkRel tables
// is here. A drink is read and written whole, as a Drink. Each write is one transaction and starts
// with the read-only guard; failures reach the caller as EngineError, and nothing here asks the
// user anything.

#include "core/engine_error.h"
#include "core/drink.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class CDatabase;

namespace engine {
class Database;
class Statement;
} // namespace engine

enum class DrinkMark { Tried, Print };

class DrinkStore {
public:
    explicit DrinkStore(CDatabase &database);

    // ---- Reading ----
    // The drink of that name (the lowest key when two share it) or key with its lines in their
    // stored order; a line whose ingredient is gone is left out.
    std::optional<Drink> read(const QString &name);
    std::optional<Drink> read(int key);
    // Every named drink with its lines, by name (the program's name order), then by key.
    QList<Drink> readAll();

    // A drink as a view shows it: a long text past `maxTextBytes` of UTF-8 is read only that far
    // and becomes cutText(start, whole length in bytes); at most `maxLines` lines are read.
    struct Shown {
        Drink drink;
        QList<bool> available; // for each line read: its ingredient is common or on the bar list
        qint64 lineCount = 0;  // all its lines
    };
    std::optional<Shown> readShown(const QString &name, int maxTextBytes, int maxLines,
                                   const std::function<QString(const QString &start, qint64 wholeBytes)> &cutText);

    // ---- Lookups ----
    qint64 count();
    // The name of the drink with that key; EngineError (no current record) when there is none.
    QString nameOf(qint16 key);
    // The key of the named drink, 0 when there is none; the program's name rule decides.
    qint16 keyOf(const QString &name);
    bool exists(const QString &name);
    // Every drink's key and name (null for a drink without one), from the highest key down.
    QList<std::pair<qint16, QVariant>> keysAndNames();
    // The keys of the drinks marked to print, in the table's order.
    QList<int> keysMarkedToPrint();
    // Every drink that carries a mark, by name, with its marks as Drink::Mark bits: one read, so a
    // list of all drinks learns its marks without a query a row.
    QHash<QString, quint8> markedDrinks();

    // ---- Writes ----
    // Stores the drink with its lines: a drink with key 0 is added under the next key (refused with
    // an overflow error past 32767), any other replaces the stored drink of its key. Returns the key.
    qint16 save(const Drink &drink);
    // Deletes the drink and its lines, all or nothing; false (with the failure in `cause`) when a
    // statement failed.
    bool remove(const QString &name, std::optional<EngineError> *cause = nullptr);
    // Deletes every named drink in one write. When one is refused on its own, goOn(name) decides
    // whether to go on with the others; a failure of the file itself ends the write with nothing
    // deleted.
    void removeMany(const QStringList &names, const std::function<bool(const QString &name)> &goOn);
    // Writes the mark of the named drink; false when no drink has the name.
    bool setMark(DrinkMark mark, const QString &name, bool value);
    // Marks every named drink in one write, all or nothing; returns the names no drink has.
    QStringList setMarks(DrinkMark mark, const QStringList &names, bool value);
    // Takes the print mark off every drink.
    void clearPrintMarks();

    // Many drinks written with statements prepared once, inside the caller's transaction (an
    // import). Lines name their ingredient by key.
    class BulkWriter {
    public:
        explicit BulkWriter(engine::Database &database);
        ~BulkWriter();
        void add(int key, const Drink &drink);
        // The stored drink of `key` becomes `drink`, its old lines replaced.
        void replace(int key, const Drink &drink);
        // Lines left behind by drinks above `key` (deleted ones whose numbers will be given again).
        void dropLinesAbove(int key);

    private:
        void writeLines(int key, const Drink &drink);
        std::unique_ptr<engine::Statement> m_add, m_replace, m_dropLines, m_dropLinesAbove, m_addLine;
    };

private:
    std::optional<Drink> readWhere(const QString &where, const QVariant &value);
    void readLines(Drink &drink);

    CDatabase &m_db;
};
