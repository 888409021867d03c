// The right-hand side of the main window: one drink's name, lines, directions, comments and marks.
//
// The view reads only what it shows. A text pane lays a paragraph out whole, and the drink lookup
// repeats the drink's texts on every line it returns, so a drink with megabytes of directions
// would hold the window for seconds. No recipe comes near the bounds below; a drink past them is
// shown in part, with a note, and stays stored whole. The lookup set that the editor and the
// clipboard copy read is opened when they first ask for it.

#include "store/CDatabase.h"

#include "core/number_format.h"
#include "store/engine/jet_dialect.h"

namespace {

constexpr int kShownBytes = 16 * 1024; // of a text's UTF-8: some pages of print
constexpr int kShownLines = 1000;

QString shownText(engine::Database &db, const QString &column, qint64 rowid)
{
    const engine::Database::TextStart start = db.readTextStart(QStringLiteral("Drinks"), column, rowid, kShownBytes);
    if (start.totalBytes <= kShownBytes)
        return start.text;
    return start.text + QStringLiteral("\n\n[Only the beginning is shown here; the whole text is ")
           + formatThousands(double(start.totalBytes) / 1024) + QStringLiteral(" kB long.]");
}

} // namespace

void CDatabase::ShowDrinkInfo(const QString &name)
{
    // typeof() tells a missing text from an empty one without reading either.
    auto row = database().OpenRecordset(QStringLiteral("SELECT rowid AS RowKey, ID, Name, typeof(Description) AS DescriptionType, "
                                                       "typeof(Comments) AS CommentsType, Tried, Print FROM Drinks WHERE Name = ")
                                        + engine::quotedName(name) + QStringLiteral(" ORDER BY ID"));
    if (row->Eof())
        throw EngineError(err::NoCurrentRecord,
                          QStringLiteral("No current record: the drink '%1' is not in the database.").arg(name));
    m_currentDrink.reset();
    m_currentDrinkName = row->value(QStringLiteral("Name")).toString();
    m_currentDrinkPrint = row->value(QStringLiteral("Print")).toBool();
    if (!m_output)
        return;

    const qint64 rowid = row->value(QStringLiteral("RowKey")).toLongLong();
    auto textOf = [&](const QString &column) {
        return row->value(column + QStringLiteral("Type")).toString() == QLatin1String("null")
                   ? QString()
                   : shownText(database(), column, rowid);
    };
    DrinkDetail drink;
    drink.name = m_currentDrinkName;
    drink.directions = textOf(QStringLiteral("Description"));
    drink.comments = textOf(QStringLiteral("Comments"));
    drink.tried = row->value(QStringLiteral("Tried")).toBool();
    drink.print = m_currentDrinkPrint;

    drink.barListInUse = database().scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM Ingredients WHERE Has <> 0)")) != 0;
    const QString drinkId = QString::number(row->value(QStringLiteral("ID")).toLongLong());
    auto lines = database().OpenRecordset(
        QStringLiteral("SELECT DrinkRel.Amount AS Amount, Ingredients.Ingredient AS Ingredient, "
                       "Ingredients.Common <> 0 OR Ingredients.Has <> 0 AS Available FROM DrinkRel "
                       "JOIN Ingredients ON Ingredients.ID = DrinkRel.IngID WHERE DrinkRel.DrinkID = ")
            + drinkId + QStringLiteral(" ORDER BY DrinkRel.rowid LIMIT ") + QString::number(kShownLines + 1),
        engine::dbOpenForwardOnly);
    for (; !lines->Eof() && drink.lines.size() < kShownLines; lines->MoveNext()) {
        const QString amount = lines->value(QStringLiteral("Amount")).toString();
        const QString ingredient = lines->value(QStringLiteral("Ingredient")).toString();
        drink.lines.append({amount.isEmpty() ? ingredient : amount + QLatin1Char(' ') + ingredient, ingredient,
                            drink.barListInUse && !lines->value(QStringLiteral("Available")).toBool()});
    }
    if (!lines->Eof()) {
        const qint64 all = database().scalar(QStringLiteral("SELECT count(*) FROM DrinkRel JOIN Ingredients ON "
                                                            "Ingredients.ID = DrinkRel.IngID WHERE DrinkRel.DrinkID = ")
                                             + drinkId);
        drink.lines.append({QStringLiteral("[") + formatThousands(double(all - drink.lines.size()))
                                + QStringLiteral(" more lines are not shown here.]"),
                            QString()});
    }
    lines.reset();
    m_output->showDrinkDetail(drink);
    DoButtons();
}

engine::Recordset *CDatabase::currentDrink()
{
    if (!m_currentDrink && !m_currentDrinkName.isEmpty()) {
        engine::QueryDef lookup = database().QueryDefs(QStringLiteral("DrinkLookup"));
        lookup.Parameters(QStringLiteral("Drinkname")) = m_currentDrinkName;
        m_currentDrink = lookup.OpenRecordset();
    }
    return m_currentDrink.get();
}
