#pragma once
// Asks for one ingredient's name and its Have and Common marks, to add a new ingredient (bAdd) or
// to change the one named sOldName. OK stores the ingredient and closes the window; Cancel and
// Escape close it with bCancelled set.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class frmIngredientAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmIngredientAdd(QWidget *parent = nullptr);

    // Set by the opener before the dialog is shown; read back after it closes.
    bool bAdd = false;
    QString sOldName;
    bool bCancelled = false;

    QLineEdit *txtName = nullptr;
    QCheckBox *chkHave = nullptr;
    QCheckBox *chkCommon = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Handlers, public so that tests press the buttons as a user would.
    void cmdOK_Click();
    void cmdCancel_Click();

    // The name as it would be stored: no control or invisible characters, no white space around.
    static QString storedName(const QString &typed);

public slots:
    void reject() override; // Escape and the window's close button cancel

private:
    void buildControls();
    // Shows the message and gives the name back to the user to correct; always false.
    bool refuse(const QString &message);
    bool nameIsAcceptable(const QString &name);
    // False (after saying so) when another ingredient has the new name.
    bool newNameIsFree(const QString &name);
};
