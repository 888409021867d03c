// The toolbar's search box: each keystroke lists the drinks whose name holds the text.

#include "app/frmMain.h"

#include "app/quick_search_box.h"
#include "common/program_objects.h"
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
    m_quickSearching = true;
    bool found = false;
    try {
        found = db->QuickSearch(txtQuickSearch->text());
    } catch (...) {
        m_quickSearching = false;
        throw;
    }
    m_quickSearching = false;
    txtQuickSearch->setNoMatch(!found);
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
