#include "app/main_commands.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>

namespace {

struct CommandInfo {
    Cmd command;
    const char *name;
    const char *text; // the tool tip, for the commands the toolbar shows
    QKeyCombination key = {};
    bool checkable = false;
};

const CommandInfo kCommands[] = {
    {Cmd::OpenDatabase, "actOpenDatabase", "Open database"},
    {Cmd::PrintMarked, "actPrintMarked", "Print Marked Drinks"},
    {Cmd::PrinterSetup, "actPrinterSetup", "Printer setup"},
    {Cmd::Exit, "actExit", "Exit"},
    {Cmd::ImportDrinks, "actImportDrinks", "Import drinks"},
    {Cmd::ExportDrinks, "actExportDrinks", "Export drinks"},
    {Cmd::AddDrink, "actAddDrink", "Add", Qt::CTRL | Qt::Key_A},
    {Cmd::EditDrink, "actEditDrink", "Edit", Qt::CTRL | Qt::Key_E},
    {Cmd::DeleteDrink, "actDeleteDrink", "Delete", QKeyCombination(Qt::Key_Delete)},
    {Cmd::CopyDrink, "actCopyDrink", "Copy to Clipboard", Qt::CTRL | Qt::Key_C},
    {Cmd::MarkSetTried, "actMarkSetTried", "Mark the current set as tried"},
    {Cmd::MarkSetPrint, "actMarkSetPrint", "Mark the current set to print"},
    {Cmd::UnmarkSetTried, "actUnmarkSetTried", "Un-mark the current set as tried"},
    {Cmd::UnmarkSetPrint, "actUnmarkSetPrint", "Un-mark the current set to print"},
    {Cmd::DeleteSet, "actDeleteSet", "Delete the current set"},
    {Cmd::AllDrinks, "actAllDrinks", "All drinks"},
    {Cmd::RandomDrink, "actRandomDrink", "Random drink"},
    {Cmd::Previous, "actPrevious", "Previous", Qt::CTRL | Qt::Key_P},
    {Cmd::Next, "actNext", "Next", Qt::CTRL | Qt::Key_N},
    {Cmd::TipOfTheDay, "actTipOfTheDay", "Tip of the day"},
    {Cmd::Options, "actOptions", "Options"},
    {Cmd::RecentSearch0, "actRecentSearch0", "Recent search 1"},
    {Cmd::RecentSearch1, "actRecentSearch1", "Recent search 2"},
    {Cmd::RecentSearch2, "actRecentSearch2", "Recent search 3"},
    {Cmd::SearchWizard, "actSearchWizard", "Search Wizard", Qt::CTRL | Qt::Key_W},
    {Cmd::SearchByName, "actSearchByName", "Search by drink name"},
    {Cmd::SearchByIngredients, "actSearchByIngredients", "Search by ingredients"},
    {Cmd::SearchByDirections, "actSearchByDirections", "Search by directions"},
    {Cmd::SearchByComments, "actSearchByComments", "Search by comments"},
    {Cmd::SearchCanMake, "actSearchCanMake", "Drinks I can make"},
    {Cmd::SearchTried, "actSearchTried", "Tried drinks"},
    {Cmd::SearchNotTried, "actSearchNotTried", "Drinks not tried"},
    {Cmd::SearchSubmitted, "actSearchSubmitted", "User-submitted drinks"},
    {Cmd::SearchToPrint, "actSearchToPrint", "Drinks to be printed"},
    {Cmd::CompactDatabase, "actCompactDatabase", "Compact database"},
    {Cmd::EditIngredients, "actEditIngredients", "Edit ingredients", Qt::CTRL | Qt::Key_I},
    {Cmd::DatabaseUtilities, "actDatabaseUtilities", "Database utilities"},
    {Cmd::ImportBarList, "actImportBarList", "Import a bar list"},
    {Cmd::ExportBarList, "actExportBarList", "Export the bar list"},
    {Cmd::BuyNext, "actBuyNext", "What to buy next"},
    {Cmd::HelpTopics, "actHelpTopics", "Help topics"},
    {Cmd::SubmittingDrinks, "actSubmittingDrinks", "Submitting drinks"},
    {Cmd::About, "actAbout", "About Zestro"},
    {Cmd::MarkTried, "actMarkTried", "Mark as Tried", {}, true},
    {Cmd::MarkPrint, "actMarkPrint", "Mark to Print", {}, true},
    {Cmd::MyBar, "actMyBar", "My bar"},
    {Cmd::Undo, "actUndo", "Undo", Qt::CTRL | Qt::Key_Z},
    {Cmd::Redo, "actRedo", "Redo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
    {Cmd::BackUpLibrary, "actBackUpLibrary", "Back up the library"},
    {Cmd::RestoreBackup, "actRestoreBackup", "Restore the library from a backup"},
};
static_assert(std::size(kCommands) == size_t(Cmd::Count), "every command has its line");

// The desktop's icon for a command where its theme has one, else our own picture (when we have one).
struct CommandIcon {
    Cmd command;
    const char *theme;
    const char *own; // in :/icons, or null
};

const CommandIcon kIcons[] = {
    {Cmd::Previous, "go-previous", "previous"},
    {Cmd::Next, "go-next", "next"},
    {Cmd::CopyDrink, "edit-copy", "copy"},
    {Cmd::AddDrink, "document-new", "add"},
    {Cmd::EditDrink, "document-edit", "edit"},
    {Cmd::DeleteDrink, "edit-delete", "delete"},
    {Cmd::MarkTried, nullptr, "tried"},
    {Cmd::MarkPrint, nullptr, "print-mark"},
    {Cmd::SearchWizard, "system-search", "search-wizard"},
    {Cmd::PrintMarked, "document-print", "print"},
    {Cmd::OpenDatabase, "document-open", nullptr},
    {Cmd::Exit, "application-exit", nullptr},
    {Cmd::Undo, "edit-undo", nullptr},
    {Cmd::Redo, "edit-redo", nullptr},
    {Cmd::Options, "preferences-system", nullptr},
    {Cmd::HelpTopics, "help-contents", nullptr},
    {Cmd::About, "help-about", nullptr},
};

QIcon commandIcon(const CommandIcon &entry)
{
    const QIcon own = entry.own ? QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(entry.own))) : QIcon();
    return entry.theme ? QIcon::fromTheme(QLatin1String(entry.theme), own) : own;
}

// Keys that every desktop program answers, added after a command's own key: the usual key first
// (the menu shows it), then what the platform's key scheme adds; a Windows scheme has no Quit key.
struct DesktopKey {
    Cmd command;
    QKeySequence::StandardKey standard;
    QKeyCombination fallback;
};

const DesktopKey kDesktopKeys[] = {
    {Cmd::HelpTopics, QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1)},
    {Cmd::Exit, QKeySequence::Quit, Qt::CTRL | Qt::Key_Q},
};

struct MenuItemCommand {
    const char *menu;
    int index;
    Cmd command;
};

const MenuItemCommand kMenuItems[] = {
    {"mnuFile", 1, Cmd::OpenDatabase},
    {"mnuFile", 30, Cmd::PrintMarked},
    {"mnuFile", 40, Cmd::PrinterSetup},
    {"mnuFile", 50, Cmd::BackUpLibrary},
    {"mnuFile", 55, Cmd::RestoreBackup},
    {"mnuFile", 99, Cmd::Exit},
    {"mnuFile", 110, Cmd::ImportDrinks},
    {"mnuFile", 120, Cmd::ExportDrinks},
    {"mnuEdit", 5, Cmd::AddDrink},
    {"mnuEdit", 10, Cmd::EditDrink},
    {"mnuEdit", 30, Cmd::DeleteDrink},
    {"mnuEdit", 50, Cmd::CopyDrink},
    {"mnuEdit", 90, Cmd::Undo},
    {"mnuEdit", 95, Cmd::Redo},
    {"mnuCurrentSet", 10, Cmd::MarkSetTried},
    {"mnuCurrentSet", 20, Cmd::MarkSetPrint},
    {"mnuCurrentSet", 40, Cmd::UnmarkSetTried},
    {"mnuCurrentSet", 50, Cmd::UnmarkSetPrint},
    {"mnuCurrentSet", 70, Cmd::DeleteSet},
    {"mnuView", 10, Cmd::AllDrinks},
    {"mnuView", 15, Cmd::RandomDrink},
    {"mnuView", 20, Cmd::Previous},
    {"mnuView", 23, Cmd::Next},
    {"mnuView", 85, Cmd::TipOfTheDay},
    {"mnuView", 99, Cmd::Options},
    {"mnuSearchResults", 0, Cmd::RecentSearch0},
    {"mnuSearchResults", 1, Cmd::RecentSearch1},
    {"mnuSearchResults", 2, Cmd::RecentSearch2},
    {"mnuSearch", 10, Cmd::SearchWizard},
    {"mnuSearch", 30, Cmd::SearchByName},
    {"mnuSearch", 40, Cmd::SearchByIngredients},
    {"mnuSearch", 50, Cmd::SearchByDirections},
    {"mnuSearch", 60, Cmd::SearchByComments},
    {"mnuSearch", 70, Cmd::SearchCanMake},
    {"mnuSearch", 100, Cmd::SearchTried},
    {"mnuSearch", 110, Cmd::SearchNotTried},
    {"mnuSearch", 120, Cmd::SearchSubmitted},
    {"mnuSearch", 130, Cmd::SearchToPrint},
    {"mnuTools", 10, Cmd::CompactDatabase},
    {"mnuTools", 30, Cmd::EditIngredients},
    {"mnuTools", 500, Cmd::DatabaseUtilities},
    {"mnuBarlist", 10, Cmd::MyBar},
    {"mnuBarlist", 30, Cmd::ImportBarList},
    {"mnuBarlist", 40, Cmd::ExportBarList},
    {"mnuBarlist", 50, Cmd::BuyNext},
    {"mnuHelp", 10, Cmd::HelpTopics},
    {"mnuHelp", 30, Cmd::SubmittingDrinks},
    {"mnuHelp", 99, Cmd::About},
    {"mnuDrinkListPopup", 10, Cmd::EditDrink},
    {"mnuDrinkListPopup", 20, Cmd::DeleteDrink},
};

const std::pair<int, Cmd> kToolbarButtons[] = {
    {1, Cmd::Previous},     {2, Cmd::Next},       {4, Cmd::CopyDrink},  {6, Cmd::AddDrink},
    {7, Cmd::EditDrink},    {8, Cmd::DeleteDrink}, {10, Cmd::MarkTried}, {11, Cmd::MarkPrint},
    {13, Cmd::SearchWizard}, {15, Cmd::PrintMarked},
};

} // namespace

MainCommands::MainCommands(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("commands"));
    for (const CommandInfo &info : kCommands) {
        auto *action = new QAction(QString::fromUtf8(info.text), this);
        action->setObjectName(QLatin1String(info.name));
        action->setCheckable(info.checkable);
        m_actions[size_t(info.command)] = action;
    }
    for (const CommandIcon &entry : kIcons)
        m_actions[size_t(entry.command)]->setIcon(commandIcon(entry));
}

QAction *MainCommands::action(const QString &name) const
{
    for (QAction *action : m_actions) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

void MainCommands::bind(QAction *item, Cmd command, bool withShortcut)
{
    QAction *target = action(command);
    if (withShortcut)
        item->setShortcuts(shortcuts(command));
    item->setIcon(target->icon());
    auto follow = [item, target] { item->setEnabled(target->isEnabled()); };
    follow();
    connect(target, &QAction::changed, item, follow);
    connect(item, &QAction::triggered, target, &QAction::trigger);
}

std::optional<Cmd> MainCommands::ofMenuItem(const QString &menu, int index)
{
    for (const MenuItemCommand &item : kMenuItems) {
        if (item.index == index && menu == QLatin1String(item.menu))
            return item.command;
    }
    return std::nullopt;
}

std::optional<Cmd> MainCommands::ofToolbarButton(int position)
{
    for (const auto &[at, command] : kToolbarButtons) {
        if (at == position)
            return command;
    }
    return std::nullopt;
}

QKeySequence MainCommands::shortcut(Cmd command)
{
    for (const CommandInfo &info : kCommands) {
        // A line without a key holds QKeyCombination's default, Key_unknown, which is no key.
        if (info.command == command && info.key.key() != Qt::Key_unknown)
            return QKeySequence(info.key);
    }
    return QKeySequence();
}

QList<QKeySequence> MainCommands::shortcuts(Cmd command)
{
    QList<QKeySequence> keys;
    if (const QKeySequence own = shortcut(command); !own.isEmpty())
        keys << own;
    for (const DesktopKey &desktop : kDesktopKeys) {
        if (desktop.command != command)
            continue;
        const QList<QKeySequence> desktopKeys = QList<QKeySequence>{QKeySequence(desktop.fallback)}
                                                + QKeySequence::keyBindings(desktop.standard);
        for (const QKeySequence &key : desktopKeys) {
            if (!key.isEmpty() && !keys.contains(key))
                keys << key;
        }
    }
    return keys;
}
