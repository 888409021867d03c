#include "output/drink_export.h"

#include "store/CDatabase.h"

void exportDrinks(CDatabase &)
{
}
