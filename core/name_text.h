#pragma once
// Cleaning of names and search texts as they come in from the keyboard, the clipboard or a file,
// and the form in which a name is quoted in a message.

#include <QChar>
#include <QString>

// The text without control characters (C0, DEL, C1) and without the invisible characters that make
// two names look alike while they compare different: zero-width space, non-joiner and joiner,
// direction marks, embeddings, overrides and isolates, word joiner and invisible operators,
// byte-order marks and soft hyphens. Everything else, spaces included, stays as it is.
QString cleanName(const QString &text);

// The text without control characters (C0, DEL, C1) only: a search text that holds one matches
// nothing a user could have meant, and a NUL ends the text early in the engine.
QString withoutControlCharacters(const QString &text);

// A name quoted in a message longer than this is cut to its start.
constexpr qsizetype kNameShownInMessage = 60;

// The name between `quote` characters for a message: whole when short, else its first characters,
// "…" and its length: "Aaaa…" (10,485,760 characters). A name read from a file or pasted may be
// megabytes long; quoted whole, it would fill the message and hide what the message says.
QString nameInMessage(const QString &name, QChar quote = QLatin1Char('"'));

// How two names that look alike differ, for a message that quotes both: "they differ in letter
// case", "one has a composed 'è', the other 'e' followed by a combining accent", "one has an
// invisible character U+200B", joined with ", and ". Empty when the names are identical or do
// not look alike (not equal under the name rule once invisible characters are taken out).
QString howNamesDiffer(const QString &a, const QString &b);
