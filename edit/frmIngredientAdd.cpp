#include "edit/frmIngredientAdd.h"

frmIngredientAdd::frmIngredientAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientAdd"));
}
