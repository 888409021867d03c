#pragma once
// Drink library files in JSON (resources/library/README.md): the contents of a library, the one
// reader that the library builder and File, Import Drinks share, and the writer of File, Export
// Drinks. The reader checks the whole file and reports every problem it finds at once.

#include "core/drink.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace library {

struct Ingredient {
    QString name;
    bool common = false;
    bool has = false;
};

// A library file's drink is the program's drink value; its lines name their ingredient by name only.
using Drink = ::Drink;
using Line = ::Drink::Line;

struct Library {
    QList<Ingredient> ingredients;
    QList<Drink> drinks;
    // Ingredient entries of the file read as an earlier entry: equal to it under the name rule
    // (another letter case, another composition of an accent), so they are that ingredient.
    int mergedSpellings = 0;
};

// Keys of drinks and ingredients are 16-bit: a library holds at most this many of each.
constexpr int kMaxLibraryKey = 32767;
// Names and amounts are stored in text fields of this many characters.
constexpr int kMaxFieldLength = 255;
// Directions and comments are each at most this many characters, and a drink has at most this many
// lines: far above any real drink, low enough that a hostile file cannot fill the library.
constexpr int kMaxDrinkText = 64 * 1024;
constexpr int kMaxDrinkLines = 200;
// A refused file's message lists this many problems and counts the rest.
constexpr int kProblemsShown = 20;

// Reads and checks a JSON library. A file with problems raises EngineError (3343) whose
// description lists the first problems, each with where it is ("drink 12 "Margarita", line 3: no
// ingredient"), and how many more there are. An ingredient listed again under the name rule is
// the first one: its later spellings are counted, and lines name their ingredient as the list's
// first spelling of it. A drink listed twice is a problem.
Library parseLibraryJson(const QByteArray &json);
// The same for a file; 3024 when it cannot be read.
Library readLibraryJson(const QString &path);

// The library as a JSON file the reader takes back unchanged: UTF-8, marks and comments only
// where set, lines in the order given.
QByteArray libraryJson(const Library &library);

} // namespace library
