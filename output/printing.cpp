#include "store/CDatabase.h"

void CDatabase::PrintDrinks() {}
void CDatabase::PrintOneDrink(int, PrintTarget &) {}
