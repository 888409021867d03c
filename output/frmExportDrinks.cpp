#include "output/frmExportDrinks.h"

#include <QRadioButton>

frmExportDrinks::frmExportDrinks(int currentSetCount, QWidget *parent)
    : OptionDialog(QStringLiteral("frmExportDrinks"),
                   {QStringLiteral("Export Drinks"),
                    {QStringLiteral("The current set."), QStringLiteral("The whole library.")},
                    {currentSetCount == 1 ? QStringLiteral("Export the one drink listed now, with the ingredients it uses.")
                                          : QStringLiteral("Export the %1 drinks listed now, with the ingredients they use.")
                                                .arg(currentSetCount),
                     QStringLiteral("Export every drink of the library, and every ingredient, whether a drink uses it or not.")}},
                   parent)
{
    if (currentSetCount == 0) {
        optOption[0]->setEnabled(false);
        optOption[1]->setChecked(true);
    }
}
