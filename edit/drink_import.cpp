#include "edit/drink_import.h"

#include "store/CDatabase.h"

void importDrinks(CDatabase &)
{
}
