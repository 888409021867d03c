#include "store/engine/library_builder.h"

#include "core/name_order.h"
#include "store/engine/sqlite_support.h"

#include "store/engine/database.h"
#include "store/engine/library_schema.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <cstdio>
#include <random>

namespace library {

namespace {

[[noreturn]] void invalid(const QString &why)
{
    throw EngineError(err::UnrecognizedFormat, QStringLiteral("The drink library is not valid: %1").arg(why));
}

} // namespace

Library syntheticLibrary(int drinkCount, quint32 seed)
{
    static const char *const commonNames[] = {"Ice", "Crushed ice", "Water", "Sugar", "Salt", "Soda water", "Hot water", "Milk"};
    static const char *const bases[] = {"Gin", "Vodka", "Rum", "Tequila", "Whiskey", "Brandy", "Vermouth", "Liqueur", "Bitters",
                                        "Syrup", "Juice", "Cordial", "Schnapps", "Wine", "Cider", "Tonic", "Cream", "Puree"};
    static const char *const flavours[] = {"Apple", "Apricot", "Banana", "Cherry", "Coconut", "Coffee", "Cranberry", "Ginger",
                                           "Grape", "Honey", "Lemon", "Lime", "Mango", "Melon", "Mint", "Orange", "Peach",
                                           "Pear", "Pineapple", "Plum", "Raspberry", "Vanilla", "Walnut", "Almond", "Blood orange"};
    static const char *const adjectives[] = {"Velvet", "Golden", "Midnight", "Crimson", "Silver", "Smoky", "Frozen", "Tropical",
                                             "Royal", "Wild", "Electric", "Copper", "Harbor", "Desert", "Garden", "Blue"};
    static const char *const nouns[] = {"Fizz", "Sour", "Sling", "Punch", "Cooler", "Smash", "Flip", "Julep", "Highball",
                                        "Rickey", "Daisy", "Cobbler", "Toddy", "Collins", "Mule", "Spritz"};
    static const char *const amounts[] = {"1.5 Ounces", "1 Ounce", ".5 Ounce", "2 Ounces", "2 Dashes", "1 Slice lemon",
                                          "1 Teaspoon", "3 Ounces", "1 Splash", "", "4 cl", "1 Wedge"};
    static const char *const methods[] = {"Shake with ice and strain into a chilled cocktail glass.",
                                          "Build over ice in a highball glass and stir gently.",
                                          "Stir with ice and strain over a large cube.",
                                          "Blend with crushed ice until smooth."};

    std::mt19937 rng(seed);
    Library lib;
    const int ingredientCount = 2000;
    for (const char *name : commonNames)
        lib.ingredients.append({QString::fromLatin1(name), true, false});
    const int flavourCount = int(std::size(flavours)), baseCount = int(std::size(bases));
    for (int i = 0; lib.ingredients.size() < ingredientCount; ++i) {
        QString name = QStringLiteral("%1 %2").arg(QLatin1String(flavours[i % flavourCount]),
                                                   QLatin1String(bases[(i / flavourCount) % baseCount]));
        if (i >= flavourCount * baseCount)
            name += QStringLiteral(" No. %1").arg(i / (flavourCount * baseCount) + 1);
        lib.ingredients.append({name, false, (rng() % 20) == 0});
    }

    // Skewed choice: a few ingredients are in many drinks, as in a real bar.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto pickIngredient = [&]() {
        const double u = unit(rng);
        return int(std::pow(u, 2.5) * (ingredientCount - 1));
    };
    const int adjectiveCount = int(std::size(adjectives)), nounCount = int(std::size(nouns));
    for (int i = 0; i < drinkCount; ++i) {
        Drink d;
        d.name = QStringLiteral("%1 %2 %3").arg(QLatin1String(adjectives[rng() % adjectiveCount]),
                                                QLatin1String(nouns[rng() % nounCount]))
                     .arg(i + 1);
        const int lineCount = 3 + int(rng() % 5); // 3..7, about 5 on average
        QSet<int> used;
        while (d.lines.size() < lineCount) {
            const int ing = pickIngredient();
            if (used.contains(ing))
                continue;
            used.insert(ing);
            d.lines.append({QString::fromLatin1(amounts[rng() % std::size(amounts)]), lib.ingredients[ing].name});
        }
        d.directions = QString::fromLatin1(methods[rng() % std::size(methods)]) + QStringLiteral(" Garnish with a twist of ")
                       + QString::fromLatin1(flavours[rng() % flavourCount]).toLower() + QLatin1Char('.');
        if (rng() % 2)
            d.comments = QStringLiteral("House variation number %1.").arg(i + 1);
        d.tried = rng() % 10 == 0;
        d.print = rng() % 50 == 0;
        d.submitted = rng() % 33 == 0;
        lib.drinks.append(d);
    }
    return lib;
}

namespace {

struct Insert {
    engine::Stmt stmt;
    sqlite3 *db;
    void bind(int i, const QVariant &v) { engine::bindValue(stmt.get(), i, v); }
    void run()
    {
        const int rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE)
            engine::throwSqliteError(db, rc);
        sqlite3_reset(stmt.get());
    }
};

void writeContents(engine::Database &db, const Library &lib, Layout layout)
{
    const bool withHas = layout == Layout::Current;
    for (const QString &statement : schemaStatements(withHas))
        db.Execute(statement);
    // Bulk inserts use prepared statements directly; the record-set layer would prepare per row.
    auto prepareInsert = [&](const char *sql) {
        sqlite3_stmt *raw = nullptr;
        const int rc = sqlite3_prepare_v2(db.handle(), sql, -1, &raw, nullptr);
        if (rc != SQLITE_OK)
            engine::throwSqliteError(db.handle(), rc);
        return Insert{engine::Stmt(raw), db.handle()};
    };

    Insert query = prepareInsert("INSERT INTO QueryDefs (Name, SQL) VALUES (?, ?)");
    for (const auto &[name, sql] : storedQueries()) {
        query.bind(1, name);
        query.bind(2, sql);
        query.run();
    }

    Insert ingredient = prepareInsert(withHas ? "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (?, ?, ?, ?)"
                                              : "INSERT INTO Ingredients (ID, Ingredient, Common) VALUES (?, ?, ?)");
    QHash<QString, int> ingredientIds;
    for (int i = 0; i < lib.ingredients.size(); ++i) {
        const Ingredient &ing = lib.ingredients[i];
        ingredientIds.insert(nameKey(ing.name), i + 1);
        ingredient.bind(1, i + 1);
        ingredient.bind(2, ing.name);
        ingredient.bind(3, ing.common);
        if (withHas)
            ingredient.bind(4, ing.has);
        ingredient.run();
    }

    // The drink's columns as the program stores them (core/drink.h).
    QString columns = QStringLiteral("ID"), values = QStringLiteral("?");
    for (const DrinkColumn &column : drinkColumns()) {
        columns += QStringLiteral(", ") + column.name;
        values += QStringLiteral(", ?");
    }
    Insert drink = prepareInsert(QStringLiteral("INSERT INTO Drinks (%1) VALUES (%2)").arg(columns, values).toUtf8().constData());
    Insert line = prepareInsert("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (?, ?, ?)");
    for (int i = 0; i < lib.drinks.size(); ++i) {
        const Drink &d = lib.drinks[i];
        const int id = i + 1;
        drink.bind(1, id);
        for (int c = 0; c < drinkColumns().size(); ++c)
            drink.bind(c + 2, drinkColumns()[c].get(d));
        drink.run();
        for (const Line &l : d.lines) {
            // A library made in code is not checked by the JSON reader; a line must not point nowhere.
            const auto ingredientId = ingredientIds.constFind(nameKey(l.ingredient));
            if (ingredientId == ingredientIds.constEnd())
                invalid(QStringLiteral("the drink '%1' uses '%2', which is not in the ingredient list.").arg(d.name, l.ingredient));
            line.bind(1, id);
            line.bind(2, *ingredientId);
            line.bind(3, l.amount);
            line.run();
        }
    }
}

} // namespace

void writeLibrary(const QString &path, const Library &lib, Layout layout)
{
    if (lib.drinks.size() > kMaxLibraryKey || lib.ingredients.size() > kMaxLibraryKey)
        throw EngineError(err::Overflow, QStringLiteral("Overflow"));
    const QString temporary = path + QStringLiteral(".building");
    QFile::remove(temporary);
    try {
        std::unique_ptr<engine::Database> db = engine::CreateDatabase(temporary);
        db->BeginTrans();
        writeContents(*db, lib, layout);
        db->CommitTrans();
        db->Close();
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    // rename(2) replaces an existing library in one step.
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        throw EngineError(err::PathFileAccess, QStringLiteral("Path/File access error: cannot write '%1'.").arg(path));
    }
}

} // namespace library
