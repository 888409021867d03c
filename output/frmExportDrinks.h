#pragma once
// Asks what File, Export Drinks writes. Value: 0 cancelled, 1 the current set, 2 the whole library.

#include "output/option_dialog.h"

class frmExportDrinks : public OptionDialog {
    Q_OBJECT
public:
    // With no drink in the current set, only the whole library can be chosen.
    explicit frmExportDrinks(int currentSetCount, QWidget *parent = nullptr);
};
