#pragma once
// The main window's commands: one QAction each, named in Qt style ("actEditDrink"). The toolbar
// shows the command actions themselves; the menu items keep their own actions and names
// ("mnuEdit(10)") and are bound to a command: choosing the item triggers the command, and the item's
// enabled state follows the command's. So each command's state is held by its action alone.

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QAction;
class QKeySequence;

enum class Cmd {
    OpenDatabase, PrintMarked, PrinterSetup, Exit, ImportDrinks, ExportDrinks,
    AddDrink, EditDrink, DeleteDrink, CopyDrink,
    MarkSetTried, MarkSetPrint, UnmarkSetTried, UnmarkSetPrint, DeleteSet,
    AllDrinks, RandomDrink, Previous, Next, TipOfTheDay, Options,
    RecentSearch0, RecentSearch1, RecentSearch2,
    SearchWizard, SearchByName, SearchByIngredients, SearchByDirections, SearchByComments, SearchCanMake,
    SearchTried, SearchNotTried, SearchSubmitted, SearchToPrint,
    CompactDatabase, EditIngredients, DatabaseUtilities, ImportBarList, ExportBarList, BuyNext,
    HelpTopics, SubmittingDrinks, About,
    MarkTried, MarkPrint, // the shown drink's marks: the toolbar's two check buttons
    MyBar,
    Undo, Redo,
    BackUpLibrary, RestoreBackup,
    Count
};

class MainCommands : public QObject {
    Q_OBJECT
public:
    explicit MainCommands(QObject *parent);

    QAction *action(Cmd command) const { return m_actions[size_t(command)]; }
    // The command action of that object name, or null.
    QAction *action(const QString &name) const;

    // Binds a menu item to `command`. The item takes the command's shortcut when `withShortcut`:
    // the key belongs to one action only, the one the menu shows it on.
    void bind(QAction *item, Cmd command, bool withShortcut = true);

    // What each menu item and toolbar button runs: menus by name ("mnuEdit") and index, buttons by
    // 1-based position. Separators and unknown indices run nothing.
    static std::optional<Cmd> ofMenuItem(const QString &menu, int index);
    static std::optional<Cmd> ofToolbarButton(int position);
    static QKeySequence shortcut(Cmd command);
    // The command's own key first, then the keys the desktop gives it (F1 for help, Ctrl+Q to quit).
    static QList<QKeySequence> shortcuts(Cmd command);

private:
    std::array<QAction *, size_t(Cmd::Count)> m_actions{};
};
