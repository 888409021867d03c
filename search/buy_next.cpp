// What to buy next: the ranking over the lines and the reading of them from the store.

#include "search/buy_next.h"

#include "common/CZestro30.h"
#include "core/name_order.h"
#include "common/program_objects.h"
#include "store/engine/database.h"
#include "store/engine/recordset.h"

#include <algorithm>

namespace buynext {

namespace {

// The drink whose unavailable lines are `missing` (indexes of their ingredients, one per line):
// buying ingredient x turns its k lines available. The drink counts for x when it is not within
// the slack now and is within it then (it then has an available line, x's).
void judgeDrink(int drink, std::vector<int> &missing, int available, int slack, std::vector<Choice> &choices)
{
    const int unavailable = int(missing.size());
    if (unavailable == 0)
        return; // makeable already, or no line counts
    const bool withinSlackNow = unavailable <= slack && available > 0;
    std::sort(missing.begin(), missing.end());
    for (auto run = missing.begin(); run != missing.end();) {
        const auto end = std::upper_bound(run, missing.end(), *run);
        const int stillMissing = unavailable - int(end - run);
        Choice &choice = choices[size_t(*run)];
        if (stillMissing == 0)
            choice.noneMissing.push_back(drink);
        if (slack > 0 && !withinSlackNow && stillMissing <= slack)
            choice.withSlack.push_back(drink);
        run = end;
    }
}

bool rankedBefore(const Choice &a, const Choice &b)
{
    if (a.noneMissing.size() != b.noneMissing.size())
        return a.noneMissing.size() > b.noneMissing.size();
    if (a.withSlack.size() != b.withSlack.size())
        return a.withSlack.size() > b.withSlack.size();
    const int byName = compareNames(a.ingredient, b.ingredient);
    return byName != 0 ? byName < 0 : a.ingredientId < b.ingredientId;
}

} // namespace

std::vector<Choice> rankChoices(const Library &library, int slack)
{
    std::vector<Choice> choices(library.ingredients.size());
    QHash<int, int> indexOf; // ingredient key -> index; -1 when at hand
    indexOf.reserve(qsizetype(library.ingredients.size()));
    for (size_t i = 0; i < library.ingredients.size(); ++i) {
        const Ingredient &ingredient = library.ingredients[i];
        choices[i].ingredientId = ingredient.id;
        choices[i].ingredient = ingredient.name;
        indexOf.insert(ingredient.id, ingredient.atHand ? -1 : int(i));
    }

    const std::vector<std::pair<int, int>> &lines = library.lines;
    std::vector<int> missing;
    for (auto line = lines.begin(); line != lines.end();) {
        const int drink = line->first;
        const bool drinkExists = library.drinks.contains(drink);
        int available = 0;
        missing.clear();
        for (; line != lines.end() && line->first == drink; ++line) {
            const auto found = indexOf.constFind(line->second);
            if (!drinkExists || found == indexOf.cend())
                continue; // no row for the drink or the ingredient
            if (*found < 0)
                ++available;
            else
                missing.push_back(*found);
        }
        judgeDrink(drink, missing, available, slack, choices);
    }

    std::erase_if(choices, [](const Choice &c) { return c.noneMissing.empty() && c.withSlack.empty(); });
    std::sort(choices.begin(), choices.end(), rankedBefore);
    return choices;
}

std::vector<Unlocked> unlockedDrinks(const Library &library, const Choice &choice)
{
    QHash<int, Unlocked> byDrink;
    for (const int id : choice.noneMissing)
        byDrink[id].noneMissing = true;
    for (const int id : choice.withSlack)
        byDrink[id].withSlack = true;
    std::vector<Unlocked> drinks;
    drinks.reserve(size_t(byDrink.size()));
    for (auto it = byDrink.cbegin(); it != byDrink.cend(); ++it)
        drinks.push_back({library.drinks.value(it.key()), it->noneMissing, it->withSlack});
    std::sort(drinks.begin(), drinks.end(), [](const Unlocked &a, const Unlocked &b) { return compareNames(a.name, b.name) < 0; });
    return drinks;
}

Library readLibrary(engine::Database &db, const QString &onHand)
{
    Library library;
    auto ingredients = db.OpenRecordset(QStringLiteral("SELECT ID, Ingredient, Common, %1 AS Has FROM Ingredients").arg(onHand),
                                        engine::dbOpenForwardOnly);
    if (!ingredients->Eof()) {
        engine::Field id = ingredients->Fields(QStringLiteral("ID"));
        engine::Field name = ingredients->Fields(QStringLiteral("Ingredient"));
        engine::Field common = ingredients->Fields(QStringLiteral("Common"));
        engine::Field has = ingredients->Fields(QStringLiteral("Has"));
        for (; !ingredients->Eof(); ingredients->MoveNext())
            library.ingredients.push_back(
                {id.Value().toInt(), name.Value().toString(), has.Value().toBool() || common.Value().toBool()});
    }
    auto drinks = db.OpenRecordset(QStringLiteral("SELECT ID, Name FROM Drinks"), engine::dbOpenForwardOnly);
    if (!drinks->Eof()) {
        engine::Field id = drinks->Fields(QStringLiteral("ID"));
        engine::Field name = drinks->Fields(QStringLiteral("Name"));
        for (; !drinks->Eof(); drinks->MoveNext())
            library.drinks.insert(id.Value().toInt(), name.Value().toString());
    }
    // In the order of the index on (DrinkID, IngID): no sorting, no table rows read.
    auto lines = db.OpenRecordset(QStringLiteral("SELECT DrinkID, IngID FROM DrinkRel ORDER BY DrinkID"),
                                  engine::dbOpenForwardOnly);
    if (!lines->Eof()) {
        engine::Field drink = lines->Fields(QStringLiteral("DrinkID"));
        engine::Field ingredient = lines->Fields(QStringLiteral("IngID"));
        for (; !lines->Eof(); lines->MoveNext())
            library.lines.emplace_back(drink.Value().toInt(), ingredient.Value().toInt());
    }
    return library;
}

int defaultSlack()
{
    const CZestro30 fallbackSettings;
    const CZestro30 &settings = program().settings ? *program().settings : fallbackSettings;
    bool isNumber = false;
    const int slack = settings.BarListSlack().toString().trimmed().toShort(&isNumber);
    return isNumber && slack >= 0 ? slack : 1;
}

} // namespace buynext
