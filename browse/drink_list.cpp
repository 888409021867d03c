// The current set in the main window's drink list: the full listing and the Previous / Next state.

#include "store/CDatabase.h"

void CDatabase::ShowAllDrinks(bool bUnused)
{
    Q_UNUSED(bUnused);
    Search(0, QString(), true);
}

void CDatabase::DoButtons()
{
    if (!m_output)
        return;
    const int count = m_output->drinkCount();
    const int selected = m_output->selectedDrinkRow();
    m_output->setNeighbourButtons(selected > 0, selected >= 0 && selected < count - 1);
}
