// A random drink of the current set.

#include "store/CDatabase.h"

#include "app/frmMain.h"
#include "common/seams.h"

#include <QTreeWidget>

void CDatabase::RandomDrink()
{
    if (!m_outputForm)
        return;
    QTreeWidget *list = m_outputForm->lvDrinks;
    const int n = list->topLevelItemCount();
    if (n == 0)
        return; // nothing to choose from
    Randomize();
    const int position = std::min(int(RandomUnit() * n), n - 1);
    QTreeWidgetItem *item = list->topLevelItem(position);
    list->setCurrentItem(item);
    ShowDrinkInfo(item->text(0));
    list->scrollToItem(item);
}
