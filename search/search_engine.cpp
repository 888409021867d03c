// The one entry point of drink searches, and the three-entry recent-search list, kept while the
// program runs.

#include "search/drink_search.h"
#include "store/CDatabase.h"

#include "common/CZestro30.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "core/number_format.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmStatus.h"
#include "search/result_list.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace {

const char *const kLabels[] = {"All Drinks", "Name", "Ingredients", "Directions", "Comments",
                               "Tried Drinks", "Untried Drinks", "Submitted", "Print"};

SavedSearch savedSearch(qint16 iType, const QString &sString, const QString &sLabel)
{
    return SavedSearch{iType, sString, sLabel + QStringLiteral(": (") + sString + QLatin1Char(')')};
}

} // namespace

engine::QueryDef DrinkSearch::storedQuery(qint16 type, const QString &text)
{
    // The stored query of each search type but the ingredient search, with its parameter's name.
    static const char *const kQueries[][2] = {{"ShowAllName", nullptr}, {"NameSearchByName", "aName"}, {nullptr, nullptr},
                                              {"DescSearchByName", "sName"}, {"CommentsSearch", "sString"},
                                              {"HaveTried", nullptr}, {"HaveNotTried", nullptr},
                                              {"SubmittedDrinks", nullptr}, {"Print", nullptr}};
    if (type < 0 || type >= search_type::Count || type == search_type::Ingredients)
        throw EngineError(err::InvalidOperation, QStringLiteral("Unknown search type %1.").arg(type));
    engine::QueryDef query = m_db.QueryDefs(QString::fromLatin1(kQueries[type][0]));
    if (kQueries[type][1])
        query.Parameters(QString::fromLatin1(kQueries[type][1])) = text;
    return query;
}

SearchResult DrinkSearch::byType(qint16 type, const QString &searchText)
{
    // A control character matches nothing a user could have meant, and a NUL would end the
    // pattern early in the engine.
    const QString text = withoutControlCharacters(searchText);
    if (type < 0 || type >= search_type::Count)
        throw EngineError(err::InvalidOperation, QStringLiteral("Unknown search type %1.").arg(type));
    SearchResult found;
    if (type == search_type::Ingredients) {
        auto rows = m_db.OpenRecordset(ingredientSql(text));
        if (!rows->Eof()) {
            engine::Field name = rows->Fields(QStringLiteral("Name"));
            for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext())
                found.names << name.Value().toString();
        }
    } else {
        // Straight into a list of names: a record set of 30,000 rows costs more than the search.
        found.names = storedQuery(type, text).textColumn(QStringLiteral("Name"));
    }
    // Every drink has a name; a row without one comes from a damaged file or a stored query that
    // makes up values (one too large to build gives none), and could be neither shown nor chosen.
    if (found.names.contains(QString()))
        throw EngineError(err::DatabaseDamaged, QStringLiteral("The search found a drink without a name: the library's drinks or "
                                                               "its stored query '%1' are damaged, so the drinks cannot be listed.")
                                                    .arg(type == search_type::Ingredients ? QStringLiteral("ingredient search")
                                                                                          : storedQuery(type, text).Name()));
    // The stored queries order by the file's rule, which folds A-Z only; the list's order is the
    // program's name rule. The ingredient search's order is its own.
    if (type != search_type::Ingredients)
        sortNames(found.names);
    return found;
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByName(const QString &sString)
{
    return DrinkSearch(database()).storedQuery(search_type::Name, sString).OpenRecordset(engine::dbOpenSnapshot);
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByText(const QString &sString, bool bComments)
{
    return DrinkSearch(database())
        .storedQuery(bComments ? search_type::Comments : search_type::Directions, sString)
        .OpenRecordset(engine::dbOpenSnapshot);
}

void CDatabase::Search(qint16 iType, const QString &sSearchText, bool bSaveSearch)
{
    // Whoever calls, the search runs and is recorded without control characters.
    const QString sString = withoutControlCharacters(sSearchText);
    if (iType < 0 || iType >= search_type::Count)
        throw EngineError(err::InvalidOperation, QStringLiteral("Unknown search type %1.").arg(iType));
    SearchWindowsCloser closer(true);
    const double start = SecondsSinceMidnight();
    if (iType != search_type::AllDrinks && program().settings && program().settings->ShowSearching()) {
        frmStatus::setStatusCaption(QStringLiteral("Searching..."));
        QCoreApplication::processEvents();
    }

    DrinkSearch search(database());
    if (m_output)
        search.setProgress([this](const QString &text) { m_output->setStatusText(text); });
    const auto keepSql = qScopeGuard([&] {
        if (iType == search_type::Ingredients)
            m_lastIngredientSql = search.lastIngredientSql();
    });
    const SearchResult found = search.byType(iType, sString);

    if (m_output)
        m_output->setStatusText(lastSearchTook(start, formatSeconds));
    if (found.isEmpty() && iType == search_type::AllDrinks) {
        // An empty library is a state like any other (its last drinks were just deleted): show it.
        ReplaceCurrentSet(found.names, DrinkListOrder::AsGiven);
        return;
    }
    if (found.isEmpty()) {
        MsgBox(QStringLiteral("No drinks matched your criteria."), msgbox::vbInformation);
        // The current set stays; its selected drink is shown afresh.
        if (m_output && !m_output->selectedDrinkName().isEmpty())
            ShowDrinkInfo(m_output->selectedDrinkName());
        return;
    }
    if (bSaveSearch)
        AddSavedSearch(iType, sString, QString::fromLatin1(kLabels[iType]));
    ReplaceCurrentSet(found.names, DrinkListOrder::AsGiven);
}

void CDatabase::AddSavedSearch(qint16 iType, const QString &sString, const QString &sLabel)
{
    for (size_t i = m_savedSearches.size() - 1; i >= 1; --i)
        m_savedSearches[i] = m_savedSearches[i - 1];
    m_savedSearches[0] = savedSearch(iType, sString, sLabel);
    ShowSavedSearches();
}

void CDatabase::ShowSavedSearches()
{
    if (m_output) {
        QStringList captions;
        for (const SavedSearch &saved : m_savedSearches)
            captions << saved.sCaption;
        m_output->setRecentSearches(captions);
    }
}

void CDatabase::GetSavedSearch(qint16 iSearchToShow)
{
    if (iSearchToShow < 0 || iSearchToShow > 2)
        return;
    const SavedSearch saved = m_savedSearches[size_t(iSearchToShow)];
    Search(saved.iType, saved.sString, false);
}

void CDatabase::ShowAllDrinks(bool bUnused)
{
    Q_UNUSED(bUnused);
    Search(0, QString(), true);
}
