// The right-hand side of the main window: one drink's name, lines, directions, comments and marks.

#include "store/CDatabase.h"

void CDatabase::ShowDrinkInfo(const QString &name)
{
    engine::QueryDef lookup = database().QueryDefs(QStringLiteral("DrinkLookup"));
    lookup.Parameters(QStringLiteral("Drinkname")) = name;
    m_currentDrink = lookup.OpenRecordset();
    engine::Recordset &rs = *m_currentDrink;
    rs.MoveFirst();
    if (rs.Eof())
        throw EngineError(err::NoCurrentRecord,
                          QStringLiteral("No current record: the drink '%1' is not in the database.").arg(name));
    if (!m_output)
        return;

    DrinkDetail drink;
    drink.name = rs.value(QStringLiteral("Name")).toString();
    drink.directions = rs.value(QStringLiteral("Description")).toString();
    const QVariant comments = rs.value(QStringLiteral("Comments"));
    drink.comments = comments.isNull() ? QString() : comments.toString();
    drink.tried = rs.value(QStringLiteral("Tried")).toBool();
    drink.print = m_currentDrinkPrint = rs.value(QStringLiteral("Print")).toBool();
    for (; !rs.Eof(); rs.MoveNext()) {
        const QVariant ingredient = rs.value(QStringLiteral("Ingredient"));
        if (ingredient.isNull())
            continue; // a drink without lines, or a line whose ingredient is gone
        const QString amount = rs.value(QStringLiteral("Amount")).toString();
        const QString bare = ingredient.toString();
        drink.lines.append({amount.isEmpty() ? bare : amount + QLatin1Char(' ') + bare, bare});
    }
    m_output->showDrinkDetail(drink);
    DoButtons();
}
