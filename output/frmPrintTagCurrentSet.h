#pragma once
// Asks how the current set is tagged for printing. Value: 0 cancelled, 1 added to the drinks tagged
// already, 2 made the only ones.

#include "output/option_dialog.h"

class frmPrintTagCurrentSet : public OptionDialog {
    Q_OBJECT
public:
    explicit frmPrintTagCurrentSet(QWidget *parent = nullptr);
};
