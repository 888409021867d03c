#pragma once
// The layout the two small "What would you like to do?" dialogs share: a question, two choices each
// with a line that explains it, and OK / Cancel.

#include <QString>
#include <array>

class QDialog;
class QPushButton;
class QRadioButton;

struct OptionTexts {
    QString caption;
    std::array<QString, 2> options;
    std::array<QString, 2> explanations;
};

// Builds the dialog's controls; OK is the default button, the first choice is selected.
void buildOptionDialog(QDialog &dialog, const OptionTexts &texts, std::array<QRadioButton *, 2> &optOption,
                       std::array<QPushButton *, 2> &cmdButtons);
