#pragma once
// Cleaning of names and search texts as they come in from the keyboard, the clipboard or a file.

#include <QString>

// The text without control characters (C0, DEL, C1) and without the invisible characters that make
// two names look alike while they compare different: zero-width space, non-joiner and joiner,
// direction marks, embeddings, overrides and isolates, word joiner and invisible operators,
// byte-order marks and soft hyphens. Everything else, spaces included, stays as it is.
QString cleanName(const QString &text);

// The text without control characters (C0, DEL, C1) only: a search text that holds one matches
// nothing a user could have meant, and a NUL ends the text early in the engine.
QString withoutControlCharacters(const QString &text);
