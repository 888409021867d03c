#include "output/frmCopyToClipboard.h"

frmCopyToClipboard::frmCopyToClipboard(QWidget *parent)
    : OptionDialog(QStringLiteral("frmCopyToClipboard"),
                   {QStringLiteral("Copy To Clipboard"),
                    {QStringLiteral("Add to text already on clipboard."), QStringLiteral("Replace text on clipboard.")},
                    {QStringLiteral("Choose this if you want to keep what is already on the clipboard and add this drink to "
                                    "it.  This is useful if you want to add more than one drink to the clipboard."),
                     QStringLiteral("Choose this if you want to replace whatever is already on the clipboard with this "
                                    "drink.  Whatever is on the clipboard now will be overwritten.")}},
                   parent)
{
}
