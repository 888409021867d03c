#include "output/frmPrintTagCurrentSet.h"

frmPrintTagCurrentSet::frmPrintTagCurrentSet(QWidget *parent)
    : OptionDialog(QStringLiteral("frmPrintTagCurrentSet"),
                   {QStringLiteral("Print Drinks"),
                    {QStringLiteral("Add these drinks."), QStringLiteral("Make these the only drinks.")},
                    {QStringLiteral("If you would like to print these IN ADDITION TO the drinks you already have selected, "
                                    "select this."),
                     QStringLiteral("Choose this if you want these to be the ONLY drinks that are printed.  Any drinks that "
                                    "are currently tagged for printing will be un-tagged.")}},
                   parent)
{
}
