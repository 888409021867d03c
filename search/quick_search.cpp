// The search box of the toolbar: drinks whose name holds the typed text, listed as the user types.
// It runs on every keystroke, so it reads the names without a record set and shows no status
// window and no message.

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

bool CDatabase::QuickSearch(const QString &text)
{
    const QString typed = withoutControlCharacters(text);
    QStringList names = typed.isEmpty()
                            ? database().textColumn(QStringLiteral("SELECT Name FROM Drinks ORDER BY Name, ID"))
                            : database().textColumn(QStringLiteral("SELECT Name FROM Drinks WHERE Name LIKE ? ESCAPE '\\' "
                                                                   "ORDER BY Name, ID"),
                                                    {containsPattern(typed)});
    if (names.isEmpty())
        return false; // the current set stays; the box says there is no match
    // The file's order folds A-Z only; the list's order is the program's name rule.
    sortNames(names);
    ReplaceCurrentSet(names, DrinkListOrder::AsGiven);
    return true;
}

void CDatabase::RecordQuickSearch(const QString &text)
{
    if (!withoutControlCharacters(text).isEmpty())
        AddSavedSearch(1, QuickSearchPattern(text), QStringLiteral("Name"));
}
