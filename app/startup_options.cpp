// What the user sees first once the database is open, and moving through the drink list.

#include "common/CZestro30.h"

#include "app/frmTip.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"

void CZestro30::StartupOptions()
{
    CDatabase &db = *program().database;
    QWidget &form = *program().mainForm;
    // Every drink, the first one shown; the recent searches start with this listing.
    db.ShowAllDrinks(true);
    if (RandomDrink() != 0)
        db.RandomDrink();
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
