#pragma once
// Asks what an import does with a drink whose name the library already has: replace it, skip it,
// or give the same answer for every such drink. Escape and the close box stop the import.

#include <QDialog>

class QLabel;
class QPushButton;

class frmImportConflict : public QDialog {
    Q_OBJECT
public:
    // The dialog's result: Cancel for Escape and the close box.
    enum Answer { Cancel = 0, Replace, Skip, ReplaceAll, SkipAll };

    // `fileName`: the drink's name as the file spells it, when that differs from the library's.
    frmImportConflict(const QString &drinkName, QWidget *parent = nullptr, const QString &fileName = QString());

    QLabel *lblQuestion = nullptr;
    QPushButton *cmdReplace = nullptr;
    QPushButton *cmdSkip = nullptr;
    QPushButton *cmdReplaceAll = nullptr;
    QPushButton *cmdSkipAll = nullptr;
};
