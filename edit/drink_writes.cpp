// Adding, changing and deleting drinks. Every write is one transaction (DrinkStore): a drink is
// stored with all its lines or not at all, and a failure leaves the file as it was.

#include "edit/drink_editing.h"

#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "common/seams.h"
#include "edit/frmAddEdit.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"

#include <QComboBox>

namespace {

void fillIngredients(QComboBox &box, engine::Database &database)
{
    // By name, so the list reads like every other ingredient list of the program.
    auto rs = database.OpenRecordset(QStringLiteral("SELECT ID, Ingredient FROM Ingredients ORDER BY Ingredient COLLATE NAMEKEY, ID"),
                                     engine::dbOpenForwardOnly);
    QStringList names;
    QList<int> ids;
    for (; !rs->Eof(); rs->MoveNext()) {
        names << rs->value(QStringLiteral("Ingredient")).toString();
        ids << rs->value(QStringLiteral("ID")).toInt();
    }
    box.addItems(names);
    for (int i = 0; i < ids.size(); ++i)
        box.setItemData(i, ids[i]);
    box.setCurrentIndex(-1);
}

} // namespace

void DrinkEditing::edit(bool add)
{
    const QString shown = m_db.shownDrinkName();
    if (!add && shown.isEmpty())
        return; // no drink is shown
    m_db.requireWritable(); // said before the user types a whole drink, not after
    DrinkStore store(m_db);
    BusyCursor busy;
    Drink stored;
    if (!add) {
        std::optional<Drink> drink = store.read(shown);
        if (!drink)
            throw EngineError(err::NoCurrentRecord,
                              QStringLiteral("No current record: the drink '%1' is not in the database.").arg(shown));
        stored = *drink;
    }
    OutputWindow *out = m_db.output();
    frmAddEdit dialog(out ? out->dialogParent() : nullptr);
    dialog.bAdd = add;
    dialog.setWindowTitle(add ? QStringLiteral("Add Drink") : QStringLiteral("Edit Drink"));
    dialog.setDrink(stored);
    fillIngredients(*dialog.cmbIngredient, m_db.database());
    busy.restore();
    Drink edited;
    for (;;) {
        ShowModal(dialog);
        if (dialog.Cancelled())
            return;
        edited = dialog.drink();
        try {
            UndoStep step(m_db, add ? QStringLiteral("Add Drink") : QStringLiteral("Edit Drink"));
            store.save(edited);
            break;
        } catch (const EngineError &e) {
            // Nothing was stored. The cause is told once and the editor comes back holding
            // everything typed, to try again or to cancel.
            ShowEngineError(e);
            dialog.setCancelled(true);
        }
    }
    m_db.forgetShownDrink(); // its rows are the old drink's
    if (out) {
        if (add) {
            out->addDrink(edited.name);
            out->setCurrentSetCount(out->drinkCount());
        } else {
            out->renameDrink(stored.name, edited.name);
        }
        out->sortDrinkList();
    }
    m_db.ShowDrinkInfo(edited.name);
}

void CDatabase::DrinkEdit(bool bAdd)
{
    DrinkEditing(*this).edit(bAdd);
}

bool CDatabase::DrinkDelete(const QString &sDrinkName)
{
    UndoStep step(*this, QStringLiteral("Delete Drink"));
    return DrinkStore(*this).remove(sDrinkName);
}

bool CDatabase::deleteDrink(const QString &sDrinkName, std::optional<EngineError> *cause)
{
    UndoStep step(*this, QStringLiteral("Delete Drink"));
    return DrinkStore(*this).remove(sDrinkName, cause);
}
