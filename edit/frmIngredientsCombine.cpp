#include "edit/frmIngredientsCombine.h"

frmIngredientsCombine::frmIngredientsCombine(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientsCombine"));
}
