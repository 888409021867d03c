#include "output/frmCopyToClipboard.h"

frmCopyToClipboard::frmCopyToClipboard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopyToClipboard"));
}
