// What the user sees first once the database is open, and moving through the drink list.

#include "common/CZestro30.h"

#include "app/frmMain.h"
#include "app/frmTip.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"

#include <QTreeWidget>

void CZestro30::StartupOptions()
{
    CDatabase &db = *program().database;
    frmMain &form = *program().mainForm;
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
    QTreeWidget *list = program().mainForm->lvDrinks;
    const int i = list->indexOfTopLevelItem(list->currentItem());
    QTreeWidgetItem *target = list->topLevelItem(i + step);
    if (target)
        list->setCurrentItem(target);
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
