// A random drink of the current set.

#include "search/drink_search.h"
#include "store/CDatabase.h"

#include "common/seams.h"

#include <algorithm>

int DrinkSearch::randomPosition(int count)
{
    if (count <= 0)
        return -1; // nothing to choose from
    Randomize();
    return std::min(int(RandomUnit() * count), count - 1);
}

void CDatabase::RandomDrink()
{
    if (!m_output)
        return;
    const int position = DrinkSearch::randomPosition(m_output->drinkCount());
    if (position < 0)
        return;
    m_output->selectDrinkAt(position);
    ShowDrinkInfo(m_output->drinkAt(position));
}
