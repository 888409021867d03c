#pragma once
// The program writes its SQL in the classic desktop-database dialect ("text" literals, True/False,
// DISTINCTROW, DELETE t.x, * FROM ..., UPDATE t SET t.c = ...). This module turns such a text into
// SQLite's dialect just before it is prepared, and gives the one way to put a name between quotes.

#include <QString>

namespace engine {

// A name between double quotes, with any double quote inside it doubled, so that the name can
// never end the literal early. Ordinary names give exactly "name". The same text is a quoted
// identifier in SQLite's dialect (a table or column name).
QString quotedName(const QString &name);

// Translates one statement of the classic dialect to SQLite's. Text inside literals is kept
// byte for byte; only literal delimiters and the listed constructs change.
QString translateJetSql(const QString &jetSql);

} // namespace engine
