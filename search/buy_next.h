#pragma once
// What to buy next: for every ingredient neither on the bar list nor common, the drinks that would
// become makeable if it were bought, by the bar list's rule (a line is available when its
// ingredient is on the bar list or common; a drink is within slack s when at most s of its lines
// are unavailable and at least one is available). One pass over the lines serves every ingredient.

#include <QHash>
#include <QString>
#include <utility>
#include <vector>

namespace engine {
class Database;
}

namespace buynext {

struct Ingredient {
    int id = 0;
    QString name;
    bool atHand = false; // on the bar list or common
};

struct Library {
    std::vector<Ingredient> ingredients;
    QHash<int, QString> drinks; // name by key
    // (drink key, ingredient key), grouped by drink. A line whose drink or ingredient has no row
    // counts for nothing.
    std::vector<std::pair<int, int>> lines;
};

// An ingredient worth buying and the drinks (keys) it would make makeable with none missing and
// with `slack` missing.
struct Choice {
    int ingredientId = 0;
    QString ingredient;
    std::vector<int> noneMissing;
    std::vector<int> withSlack;
};

// The ingredients that make at least one drink makeable, most useful first: by the none-missing
// count, then the slack count (left empty when slack is 0), then by name.
std::vector<Choice> rankChoices(const Library &library, int slack);

// A drink that buying the choice's ingredient makes makeable, and with which slack.
struct Unlocked {
    QString name;
    bool noneMissing = false;
    bool withSlack = false;
};

// The drinks of a choice, each once, in name order.
std::vector<Unlocked> unlockedDrinks(const Library &library, const Choice &choice);

// The ingredients, drinks and lines of the open library, each read in one pass. `onHand` reads an
// ingredient's bar-list mark (CDatabase::barListMark).
Library readLibrary(engine::Database &db, const QString &onHand = QStringLiteral("Has"));

// The slack of the bar-list search as the user set it; 1 when unset or not a whole number >= 0.
int defaultSlack();

} // namespace buynext
