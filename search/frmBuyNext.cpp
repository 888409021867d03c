#include "search/frmBuyNext.h"

#include "store/CDatabase.h"

void showBuyNext(CDatabase &)
{
}
