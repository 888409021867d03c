// The toolbar's search box: each keystroke lists the drinks whose name holds the text.

#include "app/frmMain.h"

#include "app/quick_search_box.h"
#include "common/program_objects.h"
#include "search/drink_search.h"
#include "store/CDatabase.h"

namespace {

CDatabase *openDatabase()
{
    CDatabase *db = program().database;
    return db && db->isOpen() ? db : nullptr;
}

} // namespace

void frmMain::txtQuickSearch_Change()
{
    CDatabase *db = openDatabase();
    if (!db)
        return;
    // The list gets the names straight from the search, so the box keeps its text. It holds exactly
    // what the text matches: a text that matches nothing empties it, and the box says so.
    const SearchResult found = DrinkSearch(db->database()).quick(txtQuickSearch->text());
    txtQuickSearch->setNoMatch(found.isEmpty());
    lvDrinks->setDrinks(found.names, DrinkListOrder::AsGiven);
    setCurrentSetCount(lvDrinks->count());
    if (found.isEmpty()) {
        db->forgetShownDrink();
        showDrinkDetail(DrinkDetail());
        db->DoButtons();
        return;
    }
    lvDrinks->selectRow(0);
    db->ShowDrinkInfo(lvDrinks->selectedDrink());
}

void frmMain::txtQuickSearch_KeyEnter()
{
    if (CDatabase *db = openDatabase(); db && !txtQuickSearch->showsNoMatch())
        db->RecordQuickSearch(txtQuickSearch->text());
}

void frmMain::txtQuickSearch_Escape()
{
    txtQuickSearch_Change(); // the box is empty: every drink
}

void frmMain::focusQuickSearch()
{
    txtQuickSearch->setFocus(Qt::ShortcutFocusReason);
    txtQuickSearch->selectAll();
}
