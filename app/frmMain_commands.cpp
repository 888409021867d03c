// The main window's commands: one handler per menu, dispatching on the item's index. An index
// without a case does nothing; so do the items whose features are not in this program yet.

#include "app/frmMain.h"

#include "app/frmAbout.h"
#include "app/frmOptions.h"
#include "app/frmTip.h"
#include "app/startup.h"
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
} // namespace

void frmMain::mnuFile_Click(int index)
{
    switch (index) {
    case 1:
        openAnotherDatabase(*this);
        break;
    case 30:
        db().PrintDrinks();
        break;
    case 40:
        try {
            CommonDialog1.ShowPrinter(this);
        } catch (const EngineError &) {
            // Cancel and any other failure of the set-up dialog end the command silently.
        }
        break;
    case 99:
        close();
        break;
    case 110:
        importDrinks(db());
        break;
    case 120:
        exportDrinks(db());
        break;
    default:
        break;
    }
}

void frmMain::mnuEdit_Click(int index)
{
    switch (index) {
    case 5:
        db().DrinkEdit(true);
        break;
    case 10:
        db().DrinkEdit(false);
        break;
    case 30:
        deleteCurrentDrink();
        break;
    case 50:
        db().CopyToClipboard();
        break;
    default:
        break;
    }
}

void frmMain::deleteCurrentDrink()
{
    CDatabase &database = db();
    const int row = selectedDrinkRow();
    if (row < 0)
        return; // nothing selected: nothing to delete
    const QString name = drinkAt(row);
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

void frmMain::mnuCurrentSet_Click(int index)
{
    CDatabase &database = db();
    auto confirmed = [](const QString &question, int icon) {
        return MsgBox(question, msgbox::vbYesNo | icon) == msgbox::vbYes;
    };
    const QString sure = QStringLiteral("Are you sure you want to ");
    switch (index) {
    case 10:
        if (confirmed(sure + QStringLiteral("mark all drinks in the current set as tried?"), msgbox::vbQuestion))
            database.DrinkTried(true, *this, true);
        break;
    case 20: {
        frmPrintTagCurrentSet tag(this);
        ShowModal(tag);
        if (tag.Value() == 0)
            break;
        // Clearing the old tags and tagging the set are one write: a failure keeps the old tags.
        WriteTransaction tagging(database);
        if (tag.Value() == 2)
            database.UnMarkAllPrint();
        database.DrinkPrint(true, *this, true);
        tagging.commit();
        break;
    }
    case 40:
        if (confirmed(sure + QStringLiteral("un-mark all drinks in the current set as tried?"), msgbox::vbQuestion))
            database.DrinkTried(false, *this, true);
        break;
    case 50:
        if (confirmed(sure + QStringLiteral("un-mark all drinks in the current set to print?"), msgbox::vbQuestion))
            database.DrinkPrint(false, *this, true);
        break;
    case 70: {
        // Whatever the answer, and whatever failed, the list shows every drink afterwards.
        auto listAll = [&database] {
            BusyCursor busy;
            database.Search(0, QString(), true);
        };
        if (confirmed(QStringLiteral("Are you absolutely sure you want to DELETE all ") + QString::number(drinkCount())
                          + QStringLiteral(" drinks in the current set?"),
                      msgbox::vbExclamation)) {
            try {
                database.DrinkDeleteMulti(*this);
            } catch (const EngineError &) {
                listAll();
                throw;
            }
        }
        listAll();
        break;
    }
    default:
        break;
    }
}

void frmMain::mnuView_Click(int index)
{
    switch (index) {
    case 10: {
        BusyCursor busy;
        db().ShowAllDrinks(true);
        break;
    }
    case 15:
        db().RandomDrink();
        break;
    case 20:
        moveToNeighbour(false);
        break;
    case 23:
        moveToNeighbour(true);
        break;
    case 85: {
        frmTip tip(this);
        ShowModal(tip);
        break;
    }
    case 99: {
        frmOptions options(this);
        ShowModal(options);
        break;
    }
    default:
        break;
    }
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

void frmMain::mnuSearch_Click(int index)
{
    switch (index) {
    case 100:
    case 110:
    case 120:
    case 130:
        db().Search(qint16((index - 100) / 10 + 5), QString(), true);
        break;
    case 10: {
        db(); // the wizard searches the open database
        frmSearchWizard wizard(this);
        ShowModal(wizard);
        break;
    }
    case 30:
    case 40:
    case 50:
    case 60:
    case 70: {
        db();
        frmSearchWizard wizard(this);
        wizard.bShortcut = true;
        wizard.iSearchToShow = qint16(index == 70 ? 8 : index / 10 - 3);
        ShowModal(wizard);
        break;
    }
    default:
        break;
    }
}

void frmMain::mnuSearchResults_Click(int index)
{
    db().GetSavedSearch(qint16(index));
}

void frmMain::mnuTools_Click(int index)
{
    switch (index) {
    case 10:
        db().DbCompact();
        break;
    case 30: {
        db(); // the ingredients are the open database's
        {
            frmIngredientMaintenence maintenance(this);
            ShowModal(maintenance);
        }
        // Renamed or combined ingredients show under their new names.
        if (const QString shown = selectedDrinkName(); !shown.isEmpty())
            db().ShowDrinkInfo(shown);
        break;
    }
    case 500:
        if (!program().commonRoutines->FileExists(ProgramFolder() + QStringLiteral("/utils.exe")))
            MsgBox(QStringLiteral("Zestro database utilities are not there.  ") + QStringLiteral("Please go to ") + kWebPage
                       + QStringLiteral(" and get the latest ") + QStringLiteral("version of Zestro or the utilities."),
                   msgbox::vbExclamation);
        break;
    default:
        break;
    }
}

void frmMain::mnuBarList_Click(int index)
{
    if (index == 30 || index == 40)
        db(); // the bar list is the open database's
    CommonDialog1.Filter = QStringLiteral("Zestro bar list|*.bar");
    CommonDialog1.Flags = CommonDialog::cdlOFNHideReadOnly;
    CommonDialog1.DefaultExt.clear();
    switch (index) {
    case 30:
        if (MsgBox(QStringLiteral("Would you like to export your current bar list before ")
                       + QStringLiteral("importing a new one?"),
                   msgbox::vbYesNo | msgbox::vbExclamation)
            == msgbox::vbYes)
            db().BarlistExport();
        setStatusText(db().BarlistImport() ? QStringLiteral("Bar list imported successfully.")
                                           : QStringLiteral("Bar list not imported."));
        break;
    case 40:
        setStatusText(db().BarlistExport() ? QStringLiteral("Bar list exported successfully.")
                                           : QStringLiteral("Bar list not exported."));
        break;
    case 50:
        showBuyNext(db());
        break;
    default:
        break;
    }
}

void frmMain::mnuHelp_Click(int index)
{
    switch (index) {
    case 10:
        CommonDialog1.HelpCommand = CommonDialog::cdlHelpFinder;
        CommonDialog1.ShowHelp(this);
        break;
    case 30:
        CommonDialog1.HelpContext = 23;
        CommonDialog1.HelpCommand = CommonDialog::cdlHelpContext;
        CommonDialog1.ShowHelp(this);
        break;
    case 99: {
        frmAbout about(this);
        ShowModal(about);
        break;
    }
    default:
        break;
    }
}

void frmMain::mnuDrinkListPopup_Click(int index)
{
    switch (index) {
    case 10:
        mnuEdit_Click(10);
        break;
    case 20:
        mnuEdit_Click(30);
        break;
    default:
        break;
    }
}

void frmMain::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 1:
        moveToNeighbour(false);
        break;
    case 2:
        moveToNeighbour(true);
        break;
    case 4:
        mnuEdit_Click(50);
        break;
    case 10:
    case 11: {
        // The click has flipped the button: its new state is the mark wanted for the current drink.
        QAction *button = toolbarButton(position);
        const bool wanted = button->isChecked();
        if (selectedDrinkRow() < 0 || !programDatabase().isOpen()) {
            button->setChecked(!wanted); // no current drink: nothing to mark
            break;
        }
        try {
            if (position == 10)
                db().DrinkTried(wanted, *this, false);
            else
                db().DrinkPrint(wanted, *this, false);
        } catch (const EngineError &) {
            button->setChecked(!wanted); // the mark was not written: the button shows what the file holds
            throw;
        }
        break;
    }
    case 15:
        mnuFile_Click(30);
        break;
    case 6:
        mnuEdit_Click(5);
        break;
    case 7:
        mnuEdit_Click(10);
        break;
    case 8:
        mnuEdit_Click(30);
        break;
    case 13:
        mnuSearch_Click(10);
        break;
    default:
        break; // the copy and print buttons
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload(*this);
    event->accept();
}
