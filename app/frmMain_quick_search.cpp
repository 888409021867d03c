// The toolbar's search box: each keystroke lists the drinks whose name holds the text.

#include "app/frmMain.h"

#include "app/quick_search_box.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QScopeGuard>

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
    const auto searched = qScopeGuard([this] { m_quickSearching = false; });
    txtQuickSearch->setNoMatch(!db->QuickSearch(txtQuickSearch->text()));
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
