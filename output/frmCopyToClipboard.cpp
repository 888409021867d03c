#include "output/frmCopyToClipboard.h"

#include "common/command_guard.h"
#include "output/option_dialog.h"

#include <QPushButton>
#include <QRadioButton>

frmCopyToClipboard::frmCopyToClipboard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopyToClipboard"));
    buildOptionDialog(*this,
                      {QStringLiteral("Copy To Clipboard"),
                       {QStringLiteral("Add to text already on clipboard."), QStringLiteral("Replace text on clipboard.")},
                       {QStringLiteral("Choose this if you want to keep what is already on the clipboard and add this drink to "
                                       "it.  This is useful if you want to add more than one drink to the clipboard."),
                        QStringLiteral("Choose this if you want to replace whatever is already on the clipboard with this "
                                       "drink.  Whatever is on the clipboard now will be overwritten.")}},
                      optOption, cmdButtons);
    for (int i = 0; i < 2; ++i)
        connect(cmdButtons[size_t(i)], &QPushButton::clicked, this, guarded(&frmCopyToClipboard::cmdButtons_Click, this, i));
}

void frmCopyToClipboard::cmdButtons_Click(int index)
{
    m_value = index == 0 ? (optOption[0]->isChecked() ? 1 : 2) : 0;
    if (index == 0)
        accept();
    else
        QDialog::reject();
}

void frmCopyToClipboard::reject()
{
    cmdButtons_Click(1); // Escape and the close box are Cancel
}
