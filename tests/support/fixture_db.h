#pragma once
// Fresh copies of library files for tests. Each kind is built once per test process (key
// derivation makes building slower than copying) and copied into the folder the test gives.

#include "store/engine/library_builder.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CDatabase;

namespace fixture {

// The starter library from resources/library/drinks.json.
QString starterLibrary(const QString &folder, const QString &fileName = QStringLiteral("zestro.mdb"));
// The starter library in the older layout whose Ingredients table lacks Has.
QString oldFormatLibrary(const QString &folder, const QString &fileName = QStringLiteral("old.mdb"));
// A synthetic library of `drinks` drinks from seed 1.
QString syntheticLibrary(const QString &folder, int drinks, const QString &fileName = QStringLiteral("synthetic.mdb"));
// A library written from the given contents (not cached).
QString customLibrary(const QString &folder, const library::Library &lib, const QString &fileName = QStringLiteral("custom.mdb"));

// A copy of the starter library in the folder, opened by the program's store without a window.
std::unique_ptr<CDatabase> openedStarterLibrary(const QString &folder);

library::Library starterContents();
// Names of the starter library's drinks that pass the test, sorted as the drink list shows them.
QStringList namesWhere(const std::function<bool(const library::Drink &)> &keep);
// Three drinks and three ingredients whose names carry accents, to add to a starter library.
extern const QString kAccentedDrinksSql;

} // namespace fixture
