#pragma once
// The drink editor: a drink's name, directions, comments, marks and ingredient lines. It writes
// nothing itself; the caller fills it with setDrink, shows it, and after it closes reads Cancelled
// and drink() and stores the drink.

#include "core/amount_text.h"
#include "core/drink.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class frmAddEdit : public QDialog {
    Q_OBJECT
public:
    explicit frmAddEdit(QWidget *parent = nullptr);

    bool bAdd = false;
    // The identifier of the drink being edited; 0 while adding. A new name may not be another drink's.
    qint16 iDrinkID = 0;
    bool Cancelled() const { return m_cancelled; }
    void setCancelled(bool cancelled) { m_cancelled = cancelled; }
    void CreateUnits();

    // The drink into the controls, and the controls back into a drink: the name cleaned and
    // trimmed, the texts trimmed, the key and the marks the editor does not show kept as given.
    void setDrink(const Drink &drink);
    Drink drink() const;

    // Lines: the three lists always hold the same number of entries, entry i of each describing
    // line i. The identifier of a line's ingredient is the user data of its lstIngredient entry.
    void appendLine(const QString &visible, const QString &ingredient, int ingredientId, const QString &amount);
    int lineCount() const;

    // The user's actions, as the controls reach them.
    void cmdAdd_Click();
    // Adds the typed name to the ingredients through the Add Ingredient dialog and puts it in the
    // ingredient box.
    void cmdNewIngredient_Click();
    void cmdDelete_Click();
    void cmdIngredients_Click();
    void cmdDone_Click();
    void cmdCancel_Click();
    void txtAmount_LostFocus();
    // False (after saying why) when the name cannot be stored.
    bool txtDrinkName_LostFocus();
    void cmbIngredient_Change();

    QLineEdit *txtDrinkName = nullptr;
    QPlainTextEdit *txtDirections = nullptr;
    QPlainTextEdit *txtComments = nullptr;
    QCheckBox *chkTried = nullptr;
    QCheckBox *chkSubmitted = nullptr;
    QListWidget *lstIngredients = nullptr;
    QListWidget *lstIngredient = nullptr;
    QListWidget *lstAmount = nullptr;
    QPushButton *cmdDelete = nullptr;
    QLineEdit *txtAmount = nullptr;
    QComboBox *cmbUnit = nullptr;
    QLineEdit *txtDescription = nullptr;
    QComboBox *cmbIngredient = nullptr;
    QPushButton *cmdNewIngredient = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdIngredients = nullptr;
    QPushButton *cmdDone = nullptr;
    QPushButton *cmdCancel = nullptr;

    bool isWide() const { return m_wide; }
    // Something differs from what the editor was given, a new line half typed included.
    bool hasChanges() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Enter in the new line's boxes adds the line; elsewhere it is Done's, but for the text panes,
    // where it starts a new line.
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void buildControls();
    void setWide(bool wide);
    // The item of the ingredient box that is the typed ingredient, -1 when none is.
    int ingredientItem(const QString &typed) const;

    Drink m_drink; // as given to setDrink
    Drink m_given; // as the controls showed it then, to tell a change
    bool m_cancelled = true;
    bool m_wide = true; // the ingredient column is shown
    bool m_checkingName = false;
    std::array<UnitEntry, kUnitCount> m_units;
    QWidget *m_linesColumn = nullptr;
    QWidget *m_newLine = nullptr; // the frame that makes a new line
};
