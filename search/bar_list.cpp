// Bar-list matching: the drinks that can be made from the ingredients at hand, with a few lines
// allowed missing; and the flag lookups of the ingredient dialogs.

#include "search/drink_search.h"
#include "store/CDatabase.h"

#include "common/CZestro30.h"
#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "core/number_format.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmStatus.h"
#include "search/result_list.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/statement.h"

#include <QCoreApplication>
#include <QListWidget>
#include <vector>

namespace {

// After a bar-list search on an empty bar list, in the status bar: a message box would stand
// beside "Sorry, no drinks found." or hide what was found.
const QString kBarListEmpty = QStringLiteral("Your bar list is empty, so only common ingredients such as water or ice count as "
                                             "at hand.  To fill it, tick the ingredients you have in Tools, Bar List, My Bar...");

// Every drink line with its ingredient's flags, grouped by drink; `onHand` reads the bar-list mark.
QString linesByDrink(const QString &onHand)
{
    return QStringLiteral("SELECT DrinkRel.DrinkID,DrinkRel.IngID,Ingredients.Common,")
           + QStringLiteral("%1 AS Has FROM DrinkRel,Ingredients WHERE ").arg(onHand)
           + QStringLiteral("DrinkRel.IngID=Ingredients.ID ORDER BY DrinkRel.DrinkID");
}

struct FoundDrink {
    qint16 id;
    int missing; // lines unavailable
};

// One pass over the lines: a drink is found when at most `slack` of its lines are unavailable and
// at least one is available. A line is available when its ingredient is on the bar list or common.
std::vector<FoundDrink> drinksWithinSlack(engine::Recordset &lines, int slack)
{
    std::vector<FoundDrink> found;
    if (lines.Eof())
        return found; // no drink has a line
    engine::Field drinkId = lines.Fields(QStringLiteral("DrinkID"));
    engine::Field common = lines.Fields(QStringLiteral("Common"));
    engine::Field has = lines.Fields(QStringLiteral("Has"));
    lines.MoveFirst();
    int current = drinkId.Value().toInt();
    int total = 0;
    int available = 0;
    auto judge = [&] {
        if (available >= total - slack && available > 0)
            found.push_back({qint16(current), total - available});
    };
    for (; !lines.Eof(); lines.MoveNext()) {
        const int id = drinkId.Value().toInt();
        if (id != current) {
            judge();
            current = id;
            total = available = 0;
        }
        if (has.Value().toBool() || common.Value().toBool())
            ++available;
        ++total;
    }
    judge();
    return found;
}

// The names of the drinks `ids` (ascending), in that order, from one pass over the drinks: one
// lookup per found drink costs a statement each, far too slow when thousands are found. A line
// whose drink is gone names nothing and is left out, and so is its count.
QStringList drinkNames(engine::Database &db, const std::vector<FoundDrink> &ids, QList<int> &missing)
{
    QStringList names;
    names.reserve(qsizetype(ids.size()));
    missing.reserve(qsizetype(ids.size()));
    auto drinks = db.OpenRecordset(QStringLiteral("SELECT ID, Name FROM Drinks ORDER BY ID"), engine::dbOpenForwardOnly);
    if (drinks->Eof())
        return names;
    engine::Field id = drinks->Fields(QStringLiteral("ID"));
    engine::Field name = drinks->Fields(QStringLiteral("Name"));
    auto wanted = ids.cbegin();
    for (drinks->MoveFirst(); !drinks->Eof() && wanted != ids.cend(); drinks->MoveNext()) {
        const int drinkId = id.Value().toInt();
        while (wanted != ids.cend() && wanted->id < drinkId)
            ++wanted;
        if (wanted != ids.cend() && wanted->id == drinkId) {
            names << name.Value().toString();
            missing << wanted->missing;
            ++wanted;
        }
    }
    return names;
}

std::optional<bool> flagOfFound(engine::Recordset &ingredients, const QString &criteria, const QString &field)
{
    ingredients.FindFirst(criteria);
    if (ingredients.NoMatch())
        return std::nullopt;
    return ingredients.value(field).toBool();
}

} // namespace

SearchResult DrinkSearch::barList(int slack, const QString &onHand)
{
    std::vector<FoundDrink> found;
    {
        auto lines = m_db.OpenRecordset(linesByDrink(onHand), engine::dbOpenForwardOnly);
        found = drinksWithinSlack(*lines, slack);
    }
    SearchResult result;
    if (!found.empty())
        result.names = drinkNames(m_db, found, result.missing);
    return result;
}

QHash<QString, int> DrinkSearch::missingCounts(const QString &onHand)
{
    // Counted as barList counts them: a line is there when its ingredient is at hand or common.
    engine::Statement counts(m_db, QStringLiteral("SELECT Drinks.Name, SUM(CASE WHEN %1 <> 0 OR Ingredients.Common <> 0 "
                                                  "THEN 0 ELSE 1 END) FROM Drinks, DrinkRel, Ingredients WHERE DrinkRel.DrinkID = "
                                                  "Drinks.ID AND DrinkRel.IngID = Ingredients.ID GROUP BY Drinks.ID")
                                       .arg(onHand));
    QHash<QString, int> missing;
    while (counts.next())
        missing.insert(counts.text(0), int(counts.integer(1)));
    return missing;
}

void CDatabase::ShowMissingCounts()
{
    if (m_output && m_output->showsMissingCounts())
        m_output->setMissingCounts(DrinkSearch(database()).missingCounts(barListMark(QStringLiteral("Ingredients.Has"))));
}

void CDatabase::BarListChanged()
{
    if (!m_output)
        return;
    ShowMissingCounts();
    if (const QString shown = m_output->selectedDrinkName(); !shown.isEmpty())
        ShowDrinkInfo(shown);
}

void CDatabase::BarList(qint16 iSlack)
{
    SearchWindowsCloser closer(false);
    BusyCursor wait;
    const double start = SecondsSinceMidnight();
    if (program().settings && program().settings->ShowSearching()) {
        frmStatus::setStatusCaption(QStringLiteral("Searching..."));
        QCoreApplication::processEvents();
    }
    const SearchResult found = DrinkSearch(database()).barList(iSlack, barListMark(QStringLiteral("Ingredients.Has")));
    const bool barListEmpty = database().scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM Ingredients WHERE %1 <> 0)").arg(barListMark())) == 0;
    wait.restore();
    if (found.isEmpty()) {
        MsgBox(QStringLiteral("Sorry, no drinks found."), msgbox::vbInformation);
        if (barListEmpty && m_output)
            m_output->setStatusText(kBarListEmpty);
        return;
    }
    if (!m_output)
        return;
    // Listed by name. The time reported covers the filling of the list too.
    const QString hint = barListEmpty ? QStringLiteral("  ") + kBarListEmpty : QString();
    ReplaceCurrentSet(found.names, DrinkListOrder::SortedOnce, QString(), // the top row selected
                      [start, hint] { return lastSearchTook(start, formatSecondsShort) + hint; }, found.missing);
}

std::optional<bool> CDatabase::IsIngredientCommonName(const QString &sIngredientName)
{
    return flagOfFound(ingredientsTable(), QStringLiteral("Ingredient = ") + engine::quotedName(sIngredientName),
                       QStringLiteral("Common"));
}

std::optional<bool> CDatabase::HasIngredientName(const QString &sIngredientName)
{
    const QString criteria = QStringLiteral("Ingredient = ") + engine::quotedName(sIngredientName);
    if (m_barListMissing) // a file without the column: found or not, and never on the bar list
        return flagOfFound(ingredientsTable(), criteria, QStringLiteral("ID")) ? std::optional<bool>(false) : std::nullopt;
    return flagOfFound(ingredientsTable(), criteria, QStringLiteral("Has"));
}

std::optional<bool> CDatabase::IsIngredientCommonID(qint16 iIngredientID)
{
    return flagOfFound(ingredientsTable(), QStringLiteral("ID = ") + QString::number(iIngredientID),
                       QStringLiteral("Common"));
}

std::unique_ptr<engine::Recordset> CDatabase::GetCommonIngredients()
{
    return database().OpenRecordset(QStringLiteral("SELECT Ingredient FROM Ingredients WHERE Common = True"));
}

void CDatabase::LoadCommonIngredients(QListWidget *lstListBox)
{
    auto common = GetCommonIngredients();
    QStringList names;
    for (; !common->Eof(); common->MoveNext())
        names << common->value(QStringLiteral("Ingredient")).toString();
    lstListBox->clear();
    lstListBox->addItems(names);
}
