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
    // The list gets the names straight from the search, so the box keeps its text; a text that
    // matches nothing leaves the current set as it is and says so in the box.
    const SearchResult found = DrinkSearch(db->database()).quick(txtQuickSearch->text());
    txtQuickSearch->setNoMatch(found.isEmpty());
    if (found.isEmpty())
        return;
    lvDrinks->setDrinks(found.names, DrinkListOrder::AsGiven);
    setCurrentSetCount(lvDrinks->count());
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
