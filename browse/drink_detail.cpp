// The right-hand side of the main window: one drink's name, lines, directions, comments and marks.
//
// The view reads only what it shows. A text pane lays a paragraph out whole, and the drink lookup
// repeats the drink's texts on every line it returns, so a drink with megabytes of directions
// would hold the window for seconds. No recipe comes near the bounds below; a drink past them is
// shown in part, with a note, and stays stored whole. The drink lookup set of the shown drink is
// opened only when asked for.

#include "store/CDatabase.h"

#include "core/number_format.h"
#include "store/drink_store.h"

namespace {

constexpr int kShownBytes = 16 * 1024; // of a text's UTF-8: some pages of print
constexpr int kShownLines = 1000;

QString cutText(const QString &start, qint64 wholeBytes)
{
    return start + QStringLiteral("\n\n[Only the beginning is shown here; the whole text is ")
           + formatThousands(double(wholeBytes) / 1024) + QStringLiteral(" kB long.]");
}

} // namespace

void CDatabase::ShowDrinkInfo(const QString &name)
{
    std::optional<DrinkStore::Shown> shown = DrinkStore(*this).readShown(name, kShownBytes, kShownLines, cutText);
    if (!shown)
        throw EngineError(err::NoCurrentRecord,
                          QStringLiteral("No current record: the drink '%1' is not in the database.").arg(name));
    m_currentDrink.reset();
    m_currentDrinkName = shown->drink.name;
    m_currentDrinkPrint = shown->drink.print;
    if (!m_output)
        return;

    DrinkDetail detail;
    detail.drink = std::move(shown->drink);
    detail.barListInUse = database().scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM Ingredients WHERE %1 <> 0)").arg(barListMark())) != 0;
    for (qsizetype i = 0; i < detail.drink.lines.size(); ++i) {
        const Drink::Line &line = detail.drink.lines[i];
        detail.lines.append({Drink::lineText(line), line.ingredient, detail.barListInUse && !shown->available[i], line.amount});
    }
    if (const qsizetype more = shown->lineCount - detail.lines.size(); more > 0) {
        detail.lines.append({more == 1 ? QStringLiteral("[1 more line is not shown here.]")
                                       : QStringLiteral("[") + formatThousands(double(more)) + QStringLiteral(" more lines are not shown here.]"),
                             QString()});
    }
    m_output->showDrinkDetail(detail);
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
