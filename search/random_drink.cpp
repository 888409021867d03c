// A random drink of the current set.

#include "store/CDatabase.h"

#include "common/seams.h"

void CDatabase::RandomDrink()
{
    if (!m_output)
        return;
    const int n = m_output->drinkCount();
    if (n == 0)
        return; // nothing to choose from
    Randomize();
    const int position = std::min(int(RandomUnit() * n), n - 1);
    m_output->selectDrinkAt(position);
    ShowDrinkInfo(m_output->drinkAt(position));
}
