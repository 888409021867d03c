#include "edit/frmAddEdit.h"

frmAddEdit::frmAddEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddEdit"));
}
