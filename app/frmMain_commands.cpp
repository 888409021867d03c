// The main window's commands: the body each command action runs, and one handler per menu that
// triggers the command of an item's index. An index without a command does nothing.

#include "app/frmMain.h"

#include "app/backup_commands.h"
#include "app/frmAbout.h"
#include "app/frmOptions.h"
#include "app/frmTip.h"
#include "app/main_commands.h"
#include "app/startup.h"
#include "app/undo_command.h"
#include "common/CCommonRoutines.h"
#include "common/CZestro30.h"
#include "common/busy_cursor.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "core/product_info.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "edit/drink_import.h"
#include "edit/frmIngredientMaintenence.h"
#include "output/drink_export.h"
#include "output/frmPrintTagCurrentSet.h"
#include "search/frmBuyNext.h"
#include "search/frmMyBar.h"
#include "search/frmSearchWizard.h"
#include "store/CDatabase.h"
#include "store/write_transaction.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QTreeWidget>

namespace {
// The open database; a command that needs one ends with a plain message when there is none.
CDatabase &db()
{
    CDatabase &database = programDatabase();
    if (!database.isOpen())
        throw NoDatabaseOpen();
    return database;
}

// The file dialog as the bar-list commands use it.
void prepareBarListDialog(CommonDialog &dialog)
{
    dialog.Filter = QStringLiteral("Zestro bar list|*.bar");
    // A list is saved under the name as typed, with no extension added; replacing a file is asked.
    dialog.Flags = CommonDialog::cdlOFNHideReadOnly | CommonDialog::cdlOFNOverwritePrompt;
    dialog.DefaultExt.clear(); // the shared dialog may hold another command's
}
} // namespace

// ---- The menus' and the toolbar's handlers -------------------------------------------------------

void frmMain::runCommand(std::optional<Cmd> command)
{
    if (command)
        m_commands->action(*command)->trigger(); // a disabled command does nothing
}

void frmMain::mnuFile_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuFile"), index));
}

void frmMain::mnuEdit_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuEdit"), index));
}

void frmMain::mnuCurrentSet_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuCurrentSet"), index));
}

void frmMain::mnuView_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuView"), index));
}

void frmMain::mnuSearch_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuSearch"), index));
}

void frmMain::mnuSearchResults_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuSearchResults"), index));
}

void frmMain::mnuTools_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuTools"), index));
}

void frmMain::mnuBarList_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuBarlist"), index));
}

void frmMain::mnuHelp_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuHelp"), index));
}

void frmMain::mnuDrinkListPopup_Click(int index)
{
    runCommand(MainCommands::ofMenuItem(QStringLiteral("mnuDrinkListPopup"), index));
}

void frmMain::Toolbar1_ButtonClick(int position)
{
    runCommand(MainCommands::ofToolbarButton(position));
}

// ---- What each command does --------------------------------------------------------------------

void frmMain::connectCommands()
{
    auto on = [this](Cmd command, std::function<void()> body) {
        connect(m_commands->action(command), &QAction::triggered, this, [body] { RunCommand(body); });
    };
    on(Cmd::OpenDatabase, [this] { openAnotherDatabase(*this); });
    on(Cmd::PrintMarked, [] { db().PrintDrinks(); });
    on(Cmd::PrinterSetup, [this] { printerSetup(); });
    on(Cmd::Exit, [this] { close(); });
    on(Cmd::ImportDrinks, [] { importDrinks(db()); });
    on(Cmd::ExportDrinks, [] { exportDrinks(db()); });
    on(Cmd::BackUpLibrary, [] { backUpLibrary(db()); });
    on(Cmd::RestoreBackup, [] { restoreFromBackup(db()); });

    on(Cmd::AddDrink, [] { db().DrinkEdit(true); });
    on(Cmd::EditDrink, [] { db().DrinkEdit(false); });
    on(Cmd::DeleteDrink, [this] { deleteCurrentDrink(); });
    on(Cmd::CopyDrink, [] { db().CopyToClipboard(); });
    on(Cmd::MarkSetTried, [this] { markCurrentSet(QStringLiteral("mark all drinks in the current set as tried?"), true, true); });
    on(Cmd::MarkSetPrint, [this] { markCurrentSetToPrint(); });
    on(Cmd::UnmarkSetTried,
       [this] { markCurrentSet(QStringLiteral("un-mark all drinks in the current set as tried?"), true, false); });
    on(Cmd::UnmarkSetPrint,
       [this] { markCurrentSet(QStringLiteral("un-mark all drinks in the current set to print?"), false, false); });
    on(Cmd::DeleteSet, [this] { deleteCurrentSet(); });

    on(Cmd::AllDrinks, [this] { allDrinks(); });
    on(Cmd::RandomDrink, [] { db().RandomDrink(); });
    on(Cmd::Previous, [this] { moveToNeighbour(false); });
    on(Cmd::Next, [this] { moveToNeighbour(true); });
    on(Cmd::TipOfTheDay, [this] { showTip(); });
    on(Cmd::Options, [this] { showOptions(); });

    on(Cmd::RecentSearch0, [] { db().GetSavedSearch(0); });
    on(Cmd::RecentSearch1, [] { db().GetSavedSearch(1); });
    on(Cmd::RecentSearch2, [] { db().GetSavedSearch(2); });
    on(Cmd::SearchWizard, [this] { showSearchWizard(); });
    on(Cmd::SearchByName, [this] { showSearchWizard(0); });
    on(Cmd::SearchByIngredients, [this] { showSearchWizard(1); });
    on(Cmd::SearchByDirections, [this] { showSearchWizard(2); });
    on(Cmd::SearchByComments, [this] { showSearchWizard(3); });
    on(Cmd::SearchCanMake, [this] { showSearchWizard(8); });
    // The searches for marked and submitted drinks: search types 5 to 8.
    on(Cmd::SearchTried, [] { db().Search(5, QString(), true); });
    on(Cmd::SearchNotTried, [] { db().Search(6, QString(), true); });
    on(Cmd::SearchSubmitted, [] { db().Search(7, QString(), true); });
    on(Cmd::SearchToPrint, [] { db().Search(8, QString(), true); });

    on(Cmd::CompactDatabase, [] { db().DbCompact(); });
    on(Cmd::EditIngredients, [this] { editIngredients(); });
    on(Cmd::DatabaseUtilities, [this] { checkUtilities(); });
    on(Cmd::ImportBarList, [this] { importBarList(); });
    on(Cmd::ExportBarList, [this] { exportBarList(); });
    on(Cmd::MyBar, [] { showMyBar(db()); });
    on(Cmd::BuyNext, [this] {
        prepareBarListDialog(CommonDialog1);
        showBuyNext(db());
    });

    on(Cmd::HelpTopics, [this] { showHelp(0); });
    on(Cmd::SubmittingDrinks, [this] { showHelp(23); });
    on(Cmd::About, [this] { showAbout(); });

    on(Cmd::MarkTried, [this] { markShownDrink(Cmd::MarkTried); });
    on(Cmd::MarkPrint, [this] { markShownDrink(Cmd::MarkPrint); });
    on(Cmd::Undo, [this] { replayUndoHistory(db(), *this, false); });
    on(Cmd::Redo, [this] { replayUndoHistory(db(), *this, true); });
}

void frmMain::printerSetup()
{
    try {
        CommonDialog1.ShowPrinter(this);
    } catch (const EngineError &) {
        // Cancel and any other failure of the set-up dialog end the command silently.
    }
}

void frmMain::deleteCurrentDrink()
{
    CDatabase &database = db();
    const int row = selectedDrinkRow();
    if (row < 0)
        return; // nothing selected: nothing to delete
    const QString name = drinkAt(row);
    database.requireWritable(); // a library that cannot be changed says so before the question
    if (MsgBox(QStringLiteral("Are you sure you want to delete '") + name + QStringLiteral("'?"),
               msgbox::vbYesNo | msgbox::vbExclamation)
        != msgbox::vbYes)
        return;
    std::optional<EngineError> cause;
    if (!database.deleteDrink(name, &cause)) {
        MsgBox(QStringLiteral("There was an error deleting the drink.")
               + (cause ? QStringLiteral("\n\n") + cause->description() : QString()));
        return;
    }
    removeDrinkAt(row);
    setCurrentSetCount(drinkCount());
    if (drinkCount() == 0) {
        MsgBox(QStringLiteral("There are no more drinks left in the current set.  All of the remaining ")
                   + QStringLiteral("drinks will now be loaded."),
               msgbox::vbInformation);
        database.Search(0, QString(), true);
        return;
    }
    // The drink that moved into the deleted one's place, or the one before it at the end.
    selectDrinkAt(std::min(row, drinkCount() - 1));
    database.ShowDrinkInfo(selectedDrinkName());
}

void frmMain::markCurrentSet(const QString &question, bool tried, bool value)
{
    CDatabase &database = db();
    database.requireWritable();
    if (MsgBox(QStringLiteral("Are you sure you want to ") + question, msgbox::vbYesNo | msgbox::vbQuestion) != msgbox::vbYes)
        return;
    if (tried)
        database.DrinkTried(value, *this, true);
    else
        database.DrinkPrint(value, *this, true);
}

void frmMain::markCurrentSetToPrint()
{
    CDatabase &database = db();
    database.requireWritable();
    frmPrintTagCurrentSet tag(this);
    ShowModal(tag);
    if (tag.Value() == 0)
        return;
    // Clearing the old tags and tagging the set are one write: a failure keeps the old tags.
    UndoStep step(database, QStringLiteral("Mark %n Drinks to Print"));
    WriteTransaction tagging(database);
    if (tag.Value() == 2)
        database.UnMarkAllPrint();
    database.DrinkPrint(true, *this, true);
    tagging.commit();
}

void frmMain::deleteCurrentSet()
{
    CDatabase &database = db();
    // Whatever the answer, and whatever failed, the list shows every drink afterwards.
    auto listAll = [&database] {
        BusyCursor busy;
        database.Search(0, QString(), true);
    };
    try {
        database.requireWritable(); // said before the question
    } catch (const EngineError &) {
        listAll();
        throw;
    }
    if (MsgBox(QStringLiteral("Are you absolutely sure you want to DELETE all ") + QString::number(drinkCount())
                   + QStringLiteral(" drinks in the current set?"),
               msgbox::vbYesNo | msgbox::vbExclamation)
        == msgbox::vbYes) {
        try {
            database.DrinkDeleteMulti(*this);
        } catch (const EngineError &) {
            listAll();
            throw;
        }
    }
    listAll();
}

void frmMain::allDrinks()
{
    BusyCursor busy;
    db().ShowAllDrinks(true);
}

void frmMain::showTip()
{
    frmTip tip(this);
    ShowModal(tip);
}

void frmMain::showOptions()
{
    frmOptions options(this);
    ShowModal(options);
}

void frmMain::moveToNeighbour(bool next)
{
    const int row = selectedDrinkRow();
    const int target = row + (next ? 1 : -1);
    if (row < 0 || target < 0 || target >= drinkCount())
        return; // no neighbour that way: the selection stays
    CDatabase &database = db();
    if (next)
        program().settings->NextDrink();
    else
        program().settings->PreviousDrink();
    database.ShowDrinkInfo(selectedDrinkName());
}

void frmMain::showSearchWizard(std::optional<qint16> page)
{
    db(); // the wizard searches the open database
    frmSearchWizard wizard(this);
    if (page) {
        wizard.bShortcut = true;
        wizard.iSearchToShow = *page;
    }
    ShowModal(wizard);
}

void frmMain::editIngredients()
{
    db(); // the ingredients are the open database's
    {
        frmIngredientMaintenence maintenance(this);
        ShowModal(maintenance);
    }
    // Renamed or combined ingredients show under their new names, and a changed Have box in the
    // missing counts.
    db().BarListChanged();
}

void frmMain::checkUtilities()
{
    if (!program().commonRoutines->FileExists(ProgramFolder() + QStringLiteral("/utils.exe")))
        MsgBox(QStringLiteral("Zestro database utilities are not there.  ") + QStringLiteral("Please go to ") + kWebPage
                   + QStringLiteral(" and get the latest ") + QStringLiteral("version of Zestro or the utilities."),
               msgbox::vbExclamation);
}

void frmMain::importBarList()
{
    db().requireWritable(); // a library that cannot be changed says so before the question
    prepareBarListDialog(CommonDialog1);
    if (MsgBox(QStringLiteral("Would you like to export your current bar list before ") + QStringLiteral("importing a new one?"),
               msgbox::vbYesNo | msgbox::vbExclamation)
        == msgbox::vbYes)
        db().BarlistExport();
    const bool imported = db().BarlistImport();
    // The missing counts and the shown drink's marks follow the new bar list.
    if (imported)
        db().BarListChanged();
    setStatusText(imported ? QStringLiteral("Bar list imported successfully.") : QStringLiteral("Bar list not imported."));
}

void frmMain::exportBarList()
{
    db();
    prepareBarListDialog(CommonDialog1);
    setStatusText(db().BarlistExport() ? QStringLiteral("Bar list exported successfully.")
                                       : QStringLiteral("Bar list not exported."));
}

void frmMain::showHelp(int context)
{
    // No context: the help topics finder; otherwise that one topic.
    if (context == 0) {
        CommonDialog1.HelpCommand = CommonDialog::cdlHelpFinder;
    } else {
        CommonDialog1.HelpContext = context;
        CommonDialog1.HelpCommand = CommonDialog::cdlHelpContext;
    }
    CommonDialog1.ShowHelp(this);
}

void frmMain::showAbout()
{
    frmAbout about(this);
    ShowModal(about);
}

void frmMain::markShownDrink(Cmd command)
{
    // The click has flipped the button: its new state is the mark wanted for the shown drink.
    const bool wanted = m_commands->action(command)->isChecked();
    if (selectedDrinkRow() < 0 || !programDatabase().isOpen()) {
        updateCommandStates(); // no current drink: nothing to mark
        return;
    }
    try {
        if (command == Cmd::MarkTried)
            db().DrinkTried(wanted, *this, false);
        else
            db().DrinkPrint(wanted, *this, false);
    } catch (const EngineError &) {
        updateCommandStates(); // the mark was not written: the button shows what the file holds
        throw;
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload(*this);
    event->accept();
}
