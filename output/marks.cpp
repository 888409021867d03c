// The tried and to-print marks of one drink or of the whole current set, and deleting the whole set.
// A set is marked, or deleted, as one write: one flush of the disk, not one a drink.

#include "output/marks.h"

#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "store/CDatabase.h"
#include "store/undo_history.h"

void DrinkMarks::set(DrinkMark mark, bool value, OutputWindow &list, bool multi)
{
    m_db.requireWritable();
    BusyCursor busy;
    DrinkStore store(m_db);
    const QString selected = list.selectedDrinkName();
    if (multi) {
        QStringList names;
        for (int row = 0; row < list.drinkCount(); ++row)
            names << list.drinkAt(row);
        QStringList missing;
        try {
            missing = store.setMarks(mark, names, value);
        } catch (const EngineError &e) {
            // Half a set marked would be a set nobody asked for: nothing was changed, and the user
            // reads why.
            throw EngineError(e.number(), e.description() + QStringLiteral("  No drink of the current set was marked."));
        }
        m_db.ShowListMarks();
        for (const QString &name : missing)
            MsgBox(QStringLiteral("Error - can't find ") + name + QStringLiteral(".  Continuing."), msgbox::vbExclamation);
    } else {
        if (selected.isEmpty())
            return; // no current drink
        if (!store.setMark(mark, selected, value)) {
            MsgBox(QStringLiteral("Error - aborting"));
            return;
        }
    }
    if (!selected.isEmpty())
        m_db.ShowDrinkInfo(selected);
}

void DrinkMarks::unmarkAllPrint()
{
    DrinkStore(m_db).clearPrintMarks();
    m_db.ShowListMarks();
}

void DrinkMarks::deleteAll(OutputWindow &list)
{
    QStringList names;
    for (int row = 0; row < list.drinkCount(); ++row)
        names << list.drinkAt(row);
    DrinkStore(m_db).removeMany(names, [](const QString &name) {
        return MsgBox(QStringLiteral("There was an error deleting ") + name + QStringLiteral(".  Continue with the others?"),
                      msgbox::vbYesNo | msgbox::vbInformation)
               == msgbox::vbYes;
    });
}

void CDatabase::DrinkTried(bool bValue, OutputWindow &lvList, bool bMulti)
{
    UndoStep step(*this, QLatin1String(bValue ? "Mark" : "Un-mark")
                             + QLatin1String(bMulti ? " %n Drinks as Tried" : " as Tried"));
    DrinkMarks(*this).set(DrinkMark::Tried, bValue, lvList, bMulti);
}

void CDatabase::DrinkPrint(bool bValue, OutputWindow &lvList, bool bMulti)
{
    UndoStep step(*this, QLatin1String(bValue ? "Mark" : "Un-mark")
                             + QLatin1String(bMulti ? " %n Drinks to Print" : " to Print"));
    DrinkMarks(*this).set(DrinkMark::Print, bValue, lvList, bMulti);
}

void CDatabase::UnMarkAllPrint()
{
    UndoStep step(*this, QStringLiteral("Un-mark %n Drinks to Print"));
    DrinkMarks(*this).unmarkAllPrint();
}

void CDatabase::DrinkDeleteMulti(OutputWindow &lvList)
{
    UndoStep step(*this, QStringLiteral("Delete %n Drinks"));
    DrinkMarks(*this).deleteAll(lvList);
}
