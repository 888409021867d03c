#pragma once
// The drink searches. Each one reads the library and returns the drinks it found; none of them
// shows anything or touches the current set. A failure of the engine reaches the caller as
// EngineError. CDatabase runs them and hands what they found to the drink list.

#include "store/engine/database.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct SearchResult {
    QStringList names;  // in the order to list them
    QList<int> missing; // the bar-list search's: per name, the lines the user lacks; empty otherwise
    QString select;     // the drink to select first; empty: the top one

    bool isEmpty() const { return names.isEmpty(); }
};

// Search type codes, as the recent-search list records them.
namespace search_type {
enum : qint16 { AllDrinks = 0, Name, Ingredients, Directions, Comments, Tried, NotTried, Submitted, Print, Count };
}

class DrinkSearch {
public:
    explicit DrinkSearch(engine::Database &db) : m_db(db) {}

    // The search of a type code (0 to 8), its text without control characters. Every type but the
    // ingredient search lists the names by the program's name rule; that one keeps its own order.
    SearchResult byType(qint16 type, const QString &text);
    SearchResult allDrinks() { return byType(search_type::AllDrinks, QString()); }
    // Name, directions and comments patterns: "*" is any run of characters, all else is literal.
    SearchResult byName(const QString &pattern) { return byType(search_type::Name, pattern); }
    SearchResult byDirections(const QString &pattern) { return byType(search_type::Directions, pattern); }
    SearchResult byComments(const QString &pattern) { return byType(search_type::Comments, pattern); }
    // The drinks that use every ingredient of a comma-delimited list of at most 21 names.
    SearchResult byIngredients(const QString &list) { return byType(search_type::Ingredients, list); }
    SearchResult tried() { return byType(search_type::Tried, QString()); }
    SearchResult notTried() { return byType(search_type::NotTried, QString()); }
    SearchResult submitted() { return byType(search_type::Submitted, QString()); }
    SearchResult toPrint() { return byType(search_type::Print, QString()); }

    // Drinks I Can Make: the drinks with at most `slack` lines neither on the bar list nor common,
    // and at least one line that is, in key order with their missing counts. The list shows them
    // by name, the top one selected, as after any search. `onHand` reads an ingredient's bar-list
    // mark (CDatabase::barListMark).
    SearchResult barList(int slack, const QString &onHand = QStringLiteral("Ingredients.Has"));
    // Every drink with lines, by name: how many of its lines are neither on the bar list nor common.
    QHash<QString, int> missingCounts(const QString &onHand = QStringLiteral("Ingredients.Has"));

    // The toolbar's search box: the drinks whose name holds `typed` (every drink when it is empty),
    // blind to case and accents, by the name rule.
    SearchResult quick(const QString &typed);

    // The position of a random drink in a set of `count` drinks; -1 when the set is empty.
    static int randomPosition(int count);

    // The stored query of a type (every one but the ingredient search) with its text set.
    engine::QueryDef storedQuery(qint16 type, const QString &text);
    // The SQL text that finds the drinks using every ingredient of the list; throws the subscript
    // error for more than 21 names. Reports its steps through the progress function.
    QString ingredientSql(const QString &list);
    // The ingredient search's last SQL text, kept even when running it failed.
    const QString &lastIngredientSql() const { return m_lastIngredientSql; }

    // Told of the steps of a longer search ("Getting ingredient IDs...").
    void setProgress(std::function<void(const QString &)> progress) { m_progress = std::move(progress); }

private:
    void progress(const QString &text) const
    {
        if (m_progress)
            m_progress(text);
    }

    engine::Database &m_db;
    std::function<void(const QString &)> m_progress;
    QString m_lastIngredientSql;
};
