#pragma once
// The ingredient table: every ingredient with its Common and Have marks, and the commands that add,
// rename, delete and combine ingredients or list the drinks that use one.

#include <QDialog>
#include <array>
#include <map>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmIngredientMaintenence : public QDialog {
    Q_OBJECT
public:
    explicit frmIngredientMaintenence(QWidget *parent = nullptr);

    QTreeWidget *lvIngredients = nullptr;
    std::array<QPushButton *, 2> cmdAddEdit{}; // 0 Add, 1 Edit
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdCombine = nullptr;
    QPushButton *cmdDone = nullptr;
    // The pop-up menu of the list, its items by index: 10 Edit, 20 Delete, 30 Combine, 50 a
    // separator, 60 the search for the drinks with the ingredient.
    QMenu *mnuPopup = nullptr;
    std::map<int, QAction *> mnuMenu;

    void RefreshIngredientList();
    // Enables the buttons and menu items for no, one, or two and more selected items.
    void ButtonState(int iValue);
    // Lists the drinks that use the selected ingredient in the main window and closes this one.
    void SearchForIngredient();

    // Handlers, public so that tests drive the window as a user's clicks would.
    void cmdAddEdit_Click(int index);
    void cmdDelete_Click();
    void cmdCombine_Click();
    void cmdDone_Click();
    void mnuMenu_Click(int index);
    // A mouse button released over the list: the buttons follow the selection, and the right
    // button opens the pop-up menu at `globalPos`.
    void lvIngredients_MouseUp(Qt::MouseButton button, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenu();
    QTreeWidgetItem *selectedItem() const;
    int selectedCount() const; // counted up to two
    void addIngredient();
    void editIngredient();
};
