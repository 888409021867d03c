#include "edit/frmIngredientMaintenence.h"

frmIngredientMaintenence::frmIngredientMaintenence(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientMaintenence"));
}
