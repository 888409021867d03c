#include "output/frmPrintTagCurrentSet.h"

frmPrintTagCurrentSet::frmPrintTagCurrentSet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintTagCurrentSet"));
}
