#pragma once
// Criteria texts for find-first / find-next, as the program writes them: [Name] = "x", Ingredient = "x",
// [ID] = 5, [Print] = True, joined by AND. They are parsed into comparisons whose values are bound
// as parameters; the text itself never becomes part of an SQL statement.

#include <QList>
#include <QString>
#include <QVariant>

namespace engine {

struct Comparison {
    QString column;   // without brackets or table qualifier
    QString op;       // one of = <> < > <= >=
    QVariant value;   // QString, qlonglong, double or bool
};

// Throws EngineError(err::SyntaxInCriteria) on a text it cannot read.
QList<Comparison> parseCriteria(const QString &criteria);

// The comparison rule of the whole store for a value read from a row against a criteria value:
// texts compare case-insensitively (ASCII letters folded, as SQLite's NOCASE), numbers and truth
// values numerically. Null matches nothing.
bool compareMatches(const QVariant &rowValue, const Comparison &c);

} // namespace engine
