// The one entry point of drink searches, and the three-entry recent-search list.

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

namespace {

const char *const kLabels[] = {"All Drinks", "Name", "Ingredients", "Directions", "Comments",
                               "Tried Drinks", "Untried Drinks", "Submitted", "Print"};

} // namespace

engine::QueryDef CDatabase::storedSearch(qint16 iType, const QString &sString)
{
    // The stored query of each search type but the ingredient search, with its parameter's name.
    static const char *const kQueries[][2] = {{"ShowAllName", nullptr}, {"NameSearchByName", "aName"}, {nullptr, nullptr},
                                              {"DescSearchByName", "sName"}, {"CommentsSearch", "sString"},
                                              {"HaveTried", nullptr}, {"HaveNotTried", nullptr},
                                              {"SubmittedDrinks", nullptr}, {"Print", nullptr}};
    engine::QueryDef query = database().QueryDefs(QString::fromLatin1(kQueries[iType][0]));
    if (kQueries[iType][1])
        query.Parameters(QString::fromLatin1(kQueries[iType][1])) = sString;
    return query;
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByName(const QString &sString)
{
    return storedSearch(1, sString).OpenRecordset(engine::dbOpenSnapshot);
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByText(const QString &sString, bool bComments)
{
    return storedSearch(bComments ? 4 : 3, sString).OpenRecordset(engine::dbOpenSnapshot);
}

void CDatabase::Search(qint16 iType, const QString &sSearchText, bool bSaveSearch)
{
    // A control character matches nothing a user could have meant, and a NUL would end the
    // pattern early in the engine; whoever calls, the search runs and is recorded without them.
    const QString sString = withoutControlCharacters(sSearchText);
    if (iType < 0 || iType > 8)
        throw EngineError(err::InvalidOperation, QStringLiteral("Unknown search type %1.").arg(iType));
    SearchWindowsCloser closer(true);
    const double start = SecondsSinceMidnight();
    if (iType != 0 && program().settings && program().settings->ShowSearching()) {
        frmStatus::setStatusCaption(QStringLiteral("Searching..."));
        QCoreApplication::processEvents();
    }

    const QString label = QString::fromLatin1(kLabels[iType]);
    QStringList names;
    if (iType == 2) {
        auto found = SearchByIngredients(sString);
        if (!found->Eof()) {
            engine::Field name = found->Fields(QStringLiteral("Name"));
            for (found->MoveFirst(); !found->Eof(); found->MoveNext())
                names << name.Value().toString();
        }
    } else {
        // Straight into a list of names: a record set of 30,000 rows costs more than the search.
        names = storedSearch(iType, sString).textColumn(QStringLiteral("Name"));
    }

    // Every drink has a name; a row without one comes from a damaged file or a stored query that
    // makes up values (one too large to build gives none), and could be neither shown nor chosen.
    if (names.contains(QString()))
        throw EngineError(err::DatabaseDamaged, QStringLiteral("The search found a drink without a name: the library's drinks or "
                                                               "its stored query '%1' are damaged, so the drinks cannot be listed.")
                                                    .arg(iType == 2 ? QStringLiteral("ingredient search") : storedSearch(iType, sString).Name()));
    if (m_output)
        m_output->setStatusText(lastSearchTook(start, formatSeconds));
    if (names.isEmpty() && iType == 0) {
        // An empty library is a state like any other (its last drinks were just deleted): show it.
        ReplaceCurrentSet(names, DrinkListOrder::AsGiven);
        return;
    }
    if (names.isEmpty()) {
        MsgBox(QStringLiteral("No drinks matched your criteria."), msgbox::vbInformation);
        // The current set stays; its selected drink is shown afresh.
        if (m_output && !m_output->selectedDrinkName().isEmpty())
            ShowDrinkInfo(m_output->selectedDrinkName());
        return;
    }
    if (bSaveSearch)
        AddSavedSearch(iType, sString, label);
    // The stored queries order by the file's rule, which folds A-Z only; the list's order is the
    // program's name rule. The ingredient search's order is its own.
    if (iType != 2)
        sortNames(names);
    ReplaceCurrentSet(names, DrinkListOrder::AsGiven);
}

void CDatabase::AddSavedSearch(qint16 iType, const QString &sString, const QString &sLabel)
{
    for (size_t i = m_savedSearches.size() - 1; i >= 1; --i)
        m_savedSearches[i] = m_savedSearches[i - 1];
    m_savedSearches[0] = SavedSearch{iType, sString, sLabel + QStringLiteral(": (") + sString + QLatin1Char(')')};
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
