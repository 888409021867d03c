#pragma once
// The drink library file: its tables and the stored queries it carries, as the library builder
// writes them.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace library {

// CREATE statements for a new file; without the Has field for the older layout.
QStringList schemaStatements(bool withHas);
// The stored queries, by name, in SQLite's dialect with named parameters.
QList<QPair<QString, QString>> storedQueries();

} // namespace library
