#include "output/frmPrintTagCurrentSet.h"

#include "common/command_guard.h"
#include "output/option_dialog.h"

#include <QPushButton>
#include <QRadioButton>

frmPrintTagCurrentSet::frmPrintTagCurrentSet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintTagCurrentSet"));
    buildOptionDialog(*this,
                      {QStringLiteral("Print Drinks"),
                       {QStringLiteral("Add these drinks."), QStringLiteral("Make these the only drinks.")},
                       {QStringLiteral("If you would like to print these IN ADDITION TO the drinks you already have selected, "
                                       "select this."),
                        QStringLiteral("Choose this if you want these to be the ONLY drinks that are printed.  Any drinks that "
                                       "are currently tagged for printing will be un-tagged.")}},
                      optOption, cmdButtons);
    for (int i = 0; i < 2; ++i)
        connect(cmdButtons[size_t(i)], &QPushButton::clicked, this, guarded(&frmPrintTagCurrentSet::cmdButtons_Click, this, i));
}

void frmPrintTagCurrentSet::cmdButtons_Click(int index)
{
    m_value = index == 0 ? (optOption[0]->isChecked() ? 1 : 2) : 0;
    if (index == 0)
        accept();
    else
        QDialog::reject();
}

void frmPrintTagCurrentSet::reject()
{
    cmdButtons_Click(1); // Escape and the close box are Cancel
}
