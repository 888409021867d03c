// The current set in the main window's drink list: the full listing and the Previous / Next state.

#include "store/CDatabase.h"

#include "app/frmMain.h"

#include <QAction>
#include <QTreeWidget>

void CDatabase::ShowAllDrinks(bool bUnused)
{
    Q_UNUSED(bUnused);
    Search(0, QString(), true);
}

void CDatabase::DoButtons()
{
    frmMain *form = m_outputForm;
    if (!form)
        return;
    QTreeWidget *list = form->lvDrinks;
    const int count = list->topLevelItemCount();
    const int selected = list->currentItem() && list->currentItem()->isSelected()
                             ? list->indexOfTopLevelItem(list->currentItem())
                             : -1;
    const bool canGoNext = selected >= 0 && selected < count - 1;
    const bool canGoBack = selected > 0;
    form->toolbarButton(2)->setEnabled(canGoNext);
    form->menuItem(QStringLiteral("mnuView"), 23)->setEnabled(canGoNext);
    form->toolbarButton(1)->setEnabled(canGoBack);
    form->menuItem(QStringLiteral("mnuView"), 20)->setEnabled(canGoBack);
}
