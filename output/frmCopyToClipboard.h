#pragma once
// Asks whether the drink is added to the clipboard's text or replaces it. Value: 0 cancelled, 1 add,
// 2 replace.

#include "output/option_dialog.h"

class frmCopyToClipboard : public OptionDialog {
    Q_OBJECT
public:
    explicit frmCopyToClipboard(QWidget *parent = nullptr);
};
