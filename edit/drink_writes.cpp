// Adding, changing and deleting drinks. Every write is one transaction: a drink is stored with all
// its lines or not at all, and a failure leaves the file as it was.

#include "store/CDatabase.h"

#include "common/busy_cursor.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "common/seams.h"
#include "edit/CQueries.h"
#include "edit/frmAddEdit.h"
#include "store/engine/jet_dialect.h"
#include "store/write_transaction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

const QString kName = QStringLiteral("Name");

// The editor's lines from the drink's lookup rows: "amount name", or the name alone.
void fillFromLookup(frmAddEdit &dialog, engine::Recordset &lookup)
{
    lookup.MoveFirst();
    dialog.txtDrinkName->setText(lookup.value(kName).toString());
    dialog.txtDirections->setPlainText(lookup.value(QStringLiteral("Description")).toString());
    dialog.txtComments->setPlainText(lookup.value(QStringLiteral("Comments")).toString()); // null gives empty
    dialog.chkSubmitted->setChecked(lookup.value(QStringLiteral("Submitted")).toBool());
    dialog.chkTried->setChecked(lookup.value(QStringLiteral("Tried")).toBool());
    dialog.iDrinkID = qint16(lookup.value(QStringLiteral("DrinkID")).toInt());
    for (; !lookup.Eof(); lookup.MoveNext()) {
        const QVariant id = lookup.value(QStringLiteral("ID"));
        if (id.isNull())
            continue; // a drink without lines, or a line whose ingredient is gone
        const QString amount = lookup.value(QStringLiteral("Amount")).toString();
        const QString ingredient = lookup.value(QStringLiteral("Ingredient")).toString();
        dialog.appendLine(amount.isEmpty() ? ingredient : amount + QLatin1Char(' ') + ingredient, ingredient, id.toInt(), amount);
    }
}

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

qint16 newDrinkId(CQueries &queries, engine::Database &database)
{
    const int id = int(queries.GetMaxDrinkID(database)) + 1;
    if (id > 32767)
        throw EngineError(err::Overflow, QStringLiteral("Overflow: the library holds the highest drink number there can be "
                                                        "(32767), so no drink can be added.  Nothing was stored."));
    return qint16(id);
}

} // namespace

void CDatabase::DrinkEdit(bool bAdd)
{
    engine::Recordset *lookup = bAdd ? nullptr : currentDrink();
    if (!bAdd && !lookup)
        return; // no drink is shown
    BusyCursor busy;
    frmAddEdit dialog(m_output ? m_output->dialogParent() : nullptr);
    dialog.bAdd = bAdd;
    if (bAdd) {
        dialog.setWindowTitle(QStringLiteral("Add Drink"));
    } else {
        dialog.setWindowTitle(QStringLiteral("Edit Drink"));
        fillFromLookup(dialog, *lookup);
    }
    fillIngredients(*dialog.cmbIngredient, database());
    busy.restore();
    ShowModal(dialog);
    if (dialog.Cancelled())
        return;

    CQueries queries;
    const QString name = cleanName(dialog.txtDrinkName->text()).trimmed();
    engine::Recordset &drinks = drinksTable();
    engine::Recordset &lines = drinkRelTable();
    WriteTransaction transaction(*this);
    qint16 id = 0;
    QString storedName;
    if (bAdd) {
        id = newDrinkId(queries, database());
        // Lines left behind by a drink that once had this number must not join the new one.
        if (!queries.DeleteDrinkRel(id, database()))
            throw *queries.lastError();
        drinks.AddNew();
    } else {
        lookup->MoveFirst();
        storedName = lookup->value(kName).toString();
        drinks.MoveFirst();
        drinks.FindFirst(QStringLiteral("[Name] = ") + engine::quotedName(storedName));
        if (drinks.NoMatch())
            throw EngineError(err::NoCurrentRecord,
                              QStringLiteral("The drink '%1' is no longer in the library; nothing was changed.").arg(storedName));
        drinks.Edit();
        id = qint16(drinks.value(QStringLiteral("ID")).toInt());
        if (!queries.DeleteDrinkRel(id, database()))
            throw *queries.lastError();
    }
    drinks.Fields(QStringLiteral("ID")) = id;
    drinks.Fields(kName) = name;
    drinks.Fields(QStringLiteral("Description")) = dialog.txtDirections->toPlainText().trimmed();
    drinks.Fields(QStringLiteral("Comments")) = dialog.txtComments->toPlainText().trimmed();
    drinks.Fields(QStringLiteral("Tried")) = dialog.chkTried->isChecked();
    drinks.Fields(QStringLiteral("Submitted")) = dialog.chkSubmitted->isChecked();
    drinks.Update();
    for (int i = 0; i < dialog.lineCount(); ++i) {
        lines.AddNew();
        lines.Fields(QStringLiteral("DrinkID")) = id;
        lines.Fields(QStringLiteral("IngID")) = dialog.lstIngredient->item(i)->data(Qt::UserRole).toInt();
        lines.Fields(QStringLiteral("Amount")) = dialog.lstAmount->item(i)->text();
        lines.Update();
    }
    transaction.commit();

    m_currentDrink.reset(); // its rows are the old drink's
    if (m_output) {
        if (bAdd) {
            m_output->addDrink(name);
            m_output->setCurrentSetCount(m_output->drinkCount());
        } else {
            m_output->renameDrink(storedName, name);
        }
        m_output->sortDrinkList();
    }
    ShowDrinkInfo(name);
}

bool CDatabase::DrinkDelete(const QString &sDrinkName)
{
    return deleteDrink(sDrinkName, nullptr);
}

bool CDatabase::deleteDrink(const QString &sDrinkName, std::optional<EngineError> *cause)
{
    CQueries queries;
    WriteTransaction transaction(*this);
    const qint16 id = queries.GetDrinkID(sDrinkName, drinksTable());
    // The row and its lines go together or not at all.
    if (!queries.DeleteDrink(id, database()) || !queries.DeleteDrinkRel(id, database())) {
        if (cause)
            *cause = queries.lastError();
        return false;
    }
    transaction.commit();
    // The table sets may still hold the deleted rows' keys; they find rows by query, never by
    // walking past them, so they are not re-read for every drink of a long delete.
    if (sameName(sDrinkName, m_currentDrinkName)) {
        m_currentDrink.reset();
        m_currentDrinkName.clear();
    }
    return true;
}
