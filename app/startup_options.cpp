// What the user sees first once the database is open, and moving through the drink list.

#include "common/CZestro30.h"

#include "app/frmTip.h"
#include "app/window_state.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"

namespace {
void showDrinkAgain(CDatabase &db, const QString &name)
{
    OutputWindow *list = db.output();
    if (!list || name.isEmpty() || name == list->selectedDrinkName())
        return;
    list->selectDrink(name);
    if (list->selectedDrinkName() == name)
        db.ShowDrinkInfo(name);
}
} // namespace

void CZestro30::StartupOptions()
{
    CDatabase &db = *program().database;
    QWidget &form = *program().mainForm;
    db.ShowAllDrinks(true);
    // Listing the drinks at start is no search of the user's: the list stays as the last run left it.
    db.LoadRecentSearches();
    // A random drink at every start is what the user asked for; otherwise the drink shown when the
    // last run ended comes back, while the library still has it.
    if (RandomDrink() != 0)
        db.RandomDrink();
    else
        showDrinkAgain(db, lastShownDrink());
    form.show();
    if (ShowTips() != 0) {
        frmTip tip(&form);
        ShowModal(tip);
    }
}

namespace {
void selectNeighbour(int step)
{
    OutputWindow *list = program().database ? program().database->output() : nullptr;
    const int row = list ? list->selectedDrinkRow() : -1;
    if (row >= 0)
        list->selectDrinkAt(row + step); // nothing happens past either end
}
} // namespace

void CZestro30::NextDrink()
{
    selectNeighbour(1);
}

void CZestro30::PreviousDrink()
{
    selectNeighbour(-1);
}
