// The search box of the toolbar: drinks whose name holds the typed text, listed as the user types.
// It runs on every keystroke, so it reads the names without a record set and shows no status
// window and no message.

#include "search/drink_search.h"
#include "store/CDatabase.h"

#include "core/name_order.h"
#include "core/name_text.h"

namespace {

// "*" stays the name searches' wildcard; LIKE's own wildcards and escape stand for themselves.
QString containsPattern(const QString &text)
{
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"))
        .replace(QLatin1Char('*'), QLatin1Char('%'));
    return QLatin1Char('%') + pattern + QLatin1Char('%');
}

} // namespace

QString CDatabase::QuickSearchPattern(const QString &text)
{
    return QLatin1Char('*') + withoutControlCharacters(text) + QLatin1Char('*');
}

SearchResult DrinkSearch::quick(const QString &text)
{
    const QString typed = withoutControlCharacters(text);
    SearchResult found;
    found.names = typed.isEmpty()
                      ? m_db.textColumn(QStringLiteral("SELECT Name FROM Drinks ORDER BY Name, ID"))
                      : m_db.textColumn(QStringLiteral("SELECT Name FROM Drinks WHERE Name LIKE ? ESCAPE '\\' "
                                                       "ORDER BY Name, ID"),
                                        {containsPattern(typed)});
    // The file's order folds A-Z only; the list's order is the program's name rule.
    sortNames(found.names);
    return found;
}

bool CDatabase::QuickSearch(const QString &text)
{
    const SearchResult found = DrinkSearch(database()).quick(text);
    if (found.isEmpty())
        return false; // the current set stays
    ReplaceCurrentSet(found.names, DrinkListOrder::AsGiven);
    return true;
}

void CDatabase::RecordQuickSearch(const QString &text)
{
    if (!withoutControlCharacters(text).isEmpty())
        AddSavedSearch(1, QuickSearchPattern(text), QStringLiteral("Name"));
}
