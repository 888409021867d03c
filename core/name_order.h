#pragma once
// The one rule for drink and ingredient names: two names are the same name when they are equal
// after Unicode case folding and composition (NFC), so "CACHAÇA" and "Cachaça", or a decomposed
// and a precomposed "Bénédictine", are one name. Every lookup, uniqueness check and list order of
// the program uses it; the store registers the same rule as a collation (store/engine/name_sql).
// Searches go one step further and also ignore accents (searchKey).

#include <QString>
#include <QStringList>

// The name as compared: case folded and composed. Plain ASCII names are only lower-cased.
QString nameKey(const QString &name);

// The text as searched: nameKey without accents and other combining marks, with the few letters
// that have no decomposition spelled as their base letters (ø as o, ß as ss, æ as ae, ...).
QString searchKey(const QString &text);

// Orders names by their keys; 0 when they are the same name.
int compareNames(const QString &a, const QString &b);

inline bool sameName(const QString &a, const QString &b)
{
    return compareNames(a, b) == 0;
}

// compareNames as the "less" of the standard algorithms.
struct NameLess {
    bool operator()(const QString &a, const QString &b) const { return compareNames(a, b) < 0; }
};

// Puts `names` in name order, equal names keeping their order. A list already in order (as the
// file's own order is for plain ASCII names) is only checked, not sorted again.
void sortNames(QStringList &names);
