// The tried and to-print marks of one drink or of the whole current set, and deleting the whole set.
// A set is marked, or deleted, as one write: one flush of the disk, not one a drink.

#include "store/CDatabase.h"

#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "store/engine/jet_dialect.h"
#include "store/write_transaction.h"

namespace {

// Writes `field` of the named drink on `drinks`; false when no drink has the name.
bool markDrink(engine::Recordset &drinks, const QString &name, const QString &field, bool value)
{
    drinks.FindFirst(QStringLiteral("Name = ") + engine::quotedName(name));
    if (drinks.NoMatch())
        return false;
    drinks.Edit();
    drinks.Fields(field) = value;
    drinks.Update();
    return true;
}

void setMark(CDatabase &db, const QString &field, bool value, OutputWindow &list, bool multi)
{
    db.requireWritable();
    BusyCursor busy;
    auto drinks = db.database().OpenRecordset(QStringLiteral("Drinks"), engine::dbOpenDynaset);
    const QString selected = list.selectedDrinkName();
    if (multi) {
        WriteTransaction transaction(db);
        try {
            for (int row = 0; row < list.drinkCount(); ++row) {
                const QString name = list.drinkAt(row);
                if (!markDrink(*drinks, name, field, value))
                    MsgBox(QStringLiteral("Error - can't find ") + name + QStringLiteral(".  Continuing."), msgbox::vbExclamation);
            }
            transaction.commit();
        } catch (const EngineError &e) {
            // Half a set marked would be a set nobody asked for: nothing was changed, and the user
            // reads why.
            throw EngineError(e.number(), e.description() + QStringLiteral("  No drink of the current set was marked."));
        }
    } else {
        if (selected.isEmpty())
            return; // no current drink
        if (!markDrink(*drinks, selected, field, value)) {
            MsgBox(QStringLiteral("Error - aborting"));
            return;
        }
    }
    drinks.reset();
    if (!selected.isEmpty())
        db.ShowDrinkInfo(selected);
}

} // namespace

void CDatabase::DrinkTried(bool bValue, OutputWindow &lvList, bool bMulti)
{
    setMark(*this, QStringLiteral("Tried"), bValue, lvList, bMulti);
}

void CDatabase::DrinkPrint(bool bValue, OutputWindow &lvList, bool bMulti)
{
    setMark(*this, QStringLiteral("Print"), bValue, lvList, bMulti);
}

void CDatabase::UnMarkAllPrint()
{
    engine::Recordset &drinks = drinksTable();
    const QString criteria = QStringLiteral("[Print] = True");
    WriteTransaction transaction(*this);
    for (drinks.FindFirst(criteria); !drinks.NoMatch(); drinks.FindNext(criteria)) {
        drinks.Edit();
        drinks.Fields(QStringLiteral("Print")) = false;
        drinks.Update();
    }
    transaction.commit();
}

void CDatabase::DrinkDeleteMulti(OutputWindow &lvList)
{
    // One transaction: each drink goes whole or not at all, the ones deleted stay deleted when the
    // user stops after a failure, and they reach the disk together.
    WriteTransaction transaction(*this);
    for (int row = 0; row < lvList.drinkCount(); ++row) {
        const QString name = lvList.drinkAt(row);
        std::optional<EngineError> cause;
        try {
            if (deleteDrink(name, &cause))
                continue;
        } catch (const EngineError &e) {
            cause = e;
        }
        // A failure of the file itself (full, read-only, unreadable) fails every drink alike, and the
        // engine may already have undone the whole transaction: the set stays whole and the user reads
        // the cause once. Only a drink refused on its own asks whether to go on.
        if (cause && (isStorageFailure(cause->number()) || !database().inTransaction()))
            throw EngineError(cause->number(), cause->description() + QStringLiteral("  No drink of the current set was deleted."));
        if (MsgBox(QStringLiteral("There was an error deleting ") + name + QStringLiteral(".  Continue with the others?"),
                   msgbox::vbYesNo | msgbox::vbInformation)
            != msgbox::vbYes)
            break;
    }
    transaction.commit();
}
