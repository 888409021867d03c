#pragma once
// Writes drink library files: from the JSON source a user can write for a collection of their own,
// or a synthetic library of any size for tests and benchmarks. Also the older layout without the
// Has field, which the program upgrades when it opens it.

#include <QList>
#include <QString>
#include <QVariant>

namespace library {

struct Ingredient {
    QString name;
    bool common = false;
    bool has = false;
};

struct Line {
    QString amount;
    QString ingredient; // by name; must be one of the library's ingredients
};

struct Drink {
    QString name;
    QList<Line> lines;
    QString directions;
    QVariant comments; // null when the drink has none
    bool tried = false;
    bool print = false;
    bool submitted = false;
};

struct Library {
    QList<Ingredient> ingredients;
    QList<Drink> drinks;
};

enum class Layout { Current, WithoutHas };

// Reads and checks a JSON library; throws EngineError with a message naming the problem.
Library readLibraryJson(const QString &path);
Library parseLibraryJson(const QByteArray &json);
// About five lines a drink, about 2,000 ingredients, some marks set; the same seed gives the same library.
Library syntheticLibrary(int drinkCount, quint32 seed = 1);
// Writes a new file at `path` (replacing one that is there) through a temporary file, so an
// interrupted run never leaves half a library under the final name.
void writeLibrary(const QString &path, const Library &library, Layout layout = Layout::Current);

} // namespace library
