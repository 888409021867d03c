#pragma once
// The main window: the drink list (the current set) on the left; the shown drink's name,
// ingredients, directions and comments on the right; the menu bar, the toolbar and the status bar.
// Menus are arrays of items addressed by index, each menu with one handler that dispatches on it
// to a named command (app/main_commands.h); the toolbar shows the command actions themselves.

#include "browse/drink_list_view.h"
#include "common/common_dialog.h"
#include "store/output_window.h"

#include <QMainWindow>
#include <QMap>

#include <optional>

class QAction;
class DetailPaneSizer;
class MainCommands;
enum class Cmd;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QToolBar;
class QuickSearchBox;
class QTreeWidget;
class QTreeWidgetItem;

class frmMain : public QMainWindow, public OutputWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- Controls ----
    QToolBar *Toolbar1 = nullptr;
    QuickSearchBox *txtQuickSearch = nullptr; // at the right of the toolbar
    DrinkListView *lvDrinks = nullptr;
    QTreeWidget *lvIngredients = nullptr;
    QLabel *pnlDrinkName = nullptr;
    QLabel *lblDrinkMarks = nullptr; // under the name: "Tried", "To print"
    QPlainTextEdit *txtDirections = nullptr;
    QPlainTextEdit *txtComments = nullptr;
    QLabel *lblIngredients = nullptr;
    QLabel *lblDirections = nullptr;
    QLabel *lblComments = nullptr;
    QLabel *lblMissing = nullptr; // under the ingredients: what the user lacks for the shown drink
    QLabel *lblCurrentSet = nullptr;
    QLabel *lblReadOnly = nullptr; // in the status bar while the library cannot be changed
    QLabel *lblStatusText = nullptr; // the status bar's text: what the last command had to say
    CommonDialog CommonDialog1;

    // Toolbar buttons by 1-based position; 3, 5, 9, 12 and 14 are separators.
    QAction *toolbarButton(int position) const;
    // Menu items by menu name ("mnuFile", "mnuSearchResults", ...) and index; null when absent.
    QAction *menuItem(const QString &menu, int index) const;
    QMenu *drinkListPopup() const { return m_popup; }
    // A command's action by its object name ("actEditDrink"); null when there is none.
    QAction *command(const QString &name) const;
    // Enables the commands from what the window shows: an open library, a shown drink, a current set
    // with drinks, neighbours of the selected drink; the check buttons show the shown drink's marks.
    // The one place that sets a command's state; called whenever one of those changes.
    void updateCommandStates();
    // The text setStatusText put up last; status tips shown meanwhile do not change it.
    QString statusText() const;

    // ---- What the data gateway shows here (frmMain_output.cpp); the list's part goes to lvDrinks ----
    void fillDrinkList(const QStringList &names, DrinkListOrder order, const QList<int> &missing = {}) override;
    int drinkCount() const override;
    QString drinkAt(int row) const override;
    int selectedDrinkRow() const override;
    void selectDrinkAt(int row) override;
    void selectDrink(const QString &name) override;
    void setCurrentSetCount(int count) override;
    void addDrink(const QString &name) override;
    void renameDrink(const QString &oldName, const QString &newName) override;
    void removeDrinkAt(int row) override;
    void sortDrinkList() override;
    void showDrinkMarks(const QHash<QString, quint8> &marked) override;
    bool showsMissingCounts() const override;
    void setMissingCounts(const QHash<QString, int> &missing) override;
    void showDrinkDetail(const DrinkDetail &drink) override;
    void setNeighbourButtons(bool canGoBack, bool canGoNext) override;
    void setRecentSearches(const QStringList &captions) override;
    // The status bar's simple text, painted at once: the command that sets it may hold the window
    // for a while yet.
    void setStatusText(const QString &text) override;
    void setCaption(const QString &caption) override;
    void setReadOnlyNotice(const QString &reason) override;
    void notify(const QString &text, Notice kind) override;
    void undoHistoryChanged() override { updateCommandStates(); }
    CommonDialog &commonDialog() override { return CommonDialog1; }
    QWidget *dialogParent() override { return this; }

    // ---- Menu handlers: each triggers the command of the item's index ----
    void mnuFile_Click(int index);
    void mnuEdit_Click(int index);
    void mnuCurrentSet_Click(int index);
    void mnuView_Click(int index);
    void mnuSearch_Click(int index);
    void mnuSearchResults_Click(int index);
    void mnuTools_Click(int index);
    void mnuBarList_Click(int index);
    void mnuHelp_Click(int index);
    void mnuDrinkListPopup_Click(int index);
    void Toolbar1_ButtonClick(int position);

    // ---- Window events ----
    void Form_DblClick();
    void lvDrinks_ItemClick(int row);
    // Shows the selected drink, unless the click that ends here has shown it already; the right
    // button then pops up the list's menu.
    void lvDrinks_MouseUp(Qt::MouseButton button, const QPoint &globalPos, bool alreadyShown = false);
    void lvDrinks_DblClick();
    // The menu key or Shift+F10 on the list: its pop-up menu, by the selected drink.
    void lvDrinks_MenuKey(const QPoint &globalPos);
    // The user chose another drink (mouse or keyboard): it becomes the shown one.
    void lvDrinks_SelectionChanged();

    // ---- The toolbar's search box (frmMain_quick_search.cpp) ----
    void txtQuickSearch_Change();
    void txtQuickSearch_KeyEnter();
    void txtQuickSearch_Escape();
    // Ctrl+F: the cursor goes to the box, its text selected.
    void focusQuickSearch();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // ---- The commands' bodies (frmMain_commands.cpp) ----
    void connectCommands();
    void runCommand(std::optional<Cmd> command);
    void printerSetup();
    void deleteCurrentDrink();
    // Asks "Are you sure you want to " + `question`, then marks every drink of the set.
    void markCurrentSet(const QString &question, bool tried, bool value);
    void markCurrentSetToPrint();
    void deleteCurrentSet();
    void allDrinks();
    // Previous and Next, from the menu or the toolbar.
    void moveToNeighbour(bool next);
    void showTip();
    void showOptions();
    // The search wizard from its first page, or at `page` as the Search menu's shortcuts open it.
    void showSearchWizard(std::optional<qint16> page = std::nullopt);
    void editIngredients();
    void checkUtilities();
    void importBarList();
    void exportBarList();
    void showHelp(int context);
    void showAbout();
    // The toolbar's check buttons: the shown drink gets the mark the button now shows.
    void markShownDrink(Cmd command);
    // What the window shows of the drink, for updateCommandStates().
    void noteShownDrink(const QString &name, bool tried, bool print);

    void buildControls();
    void buildMenus();
    void buildToolbar();
    // Adds a menu item (or a separator, caption "-") and binds it to its command.
    QAction *addItem(QMenu *menu, const QString &name, int index, const QString &caption);

    MainCommands *m_commands = nullptr;
    QMap<QString, QMap<int, QAction *>> m_menus;
    QList<QAction *> m_toolbarButtons;
    QMenu *m_popup = nullptr;
    QSplitter *m_splitter = nullptr;
    DetailPaneSizer *m_detailSizer = nullptr; // sizes splDetail's panes to the shown drink
    // The state the commands' enabled states come from (besides the list and the open library).
    bool m_canGoBack = false;
    bool m_canGoNext = false;
    QString m_shownDrink;
    bool m_shownTried = false;
    bool m_shownPrint = false;
};
