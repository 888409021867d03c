#pragma once
// Writes drink library files: from the JSON source a user can write for a collection of their own
// (read by store/engine/library_json.h), or a synthetic library of any size for tests and
// benchmarks. Also the older layout without the Has field, which the program upgrades when it
// opens it.

#include "store/engine/library_json.h"

namespace library {

enum class Layout { Current, WithoutHas };

// About five lines a drink, about 2,000 ingredients, some marks set; the same seed gives the same library.
Library syntheticLibrary(int drinkCount, quint32 seed = 1);
// Writes a new file at `path` (replacing one that is there) through a temporary file, so an
// interrupted run never leaves half a library under the final name.
void writeLibrary(const QString &path, const Library &library, Layout layout = Layout::Current);

} // namespace library
