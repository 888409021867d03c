// Adding, renaming, deleting and combining ingredients, and the two questions the ingredient
// dialogs ask first: is a name taken, and does a drink still use an ingredient.
//
// Names are stored without control or invisible characters and without surrounding white space,
// and never empty, with a double quote or with a comma (bar lists and ingredient searches
// separate names with commas). Two ingredients never share a name under the store's comparison.
// Deleting and combining run in one transaction each: they change all or nothing.

#include "edit/ingredient_writes.h"

#include "common/message_box.h"
#include "core/name_text.h"
#include "store/CQueries.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/statement.h"
#include "store/CDatabase.h"
#include "store/undo_history.h"
#include "store/write_transaction.h"

#include <QListWidget>
#include <optional>

namespace {

const QString kNameTaken = QStringLiteral("An ingredient by that name already exists, please choose another name.");
// The engine's number for a row that related rows still need.
constexpr int kRelatedRecords = 3200;
constexpr int kMaxKey = 32767;

QString storedName(const QString &typed)
{
    return cleanName(typed).trimmed();
}

// The last line of defence behind the dialogs, which ask the user for a better name first.
void checkName(const QString &name)
{
    if (const std::optional<QString> problem = IngredientWrites::nameProblem(name))
        throw EngineError(err::InvalidOperation, *problem);
}

QString nameCriteria(const QString &name)
{
    return QStringLiteral("[Ingredient] = ") + engine::quotedName(name);
}

// The identifier of the first row with the name, 0 when none has it. Unlike GetIngID, a failing
// lookup raises its error: a write must not take it for "no such ingredient".
int ingredientId(CDatabase &db, const QString &name)
{
    auto rs = db.database().OpenRecordset(QStringLiteral("SELECT ID FROM Ingredients WHERE Ingredient = ")
                                              + engine::quotedName(name),
                                          engine::dbOpenSnapshot);
    return rs->Eof() ? 0 : rs->Fields(QStringLiteral("ID")).Value().toInt();
}

using Usage = IngredientWrites::Usage;
using UsageCheck = IngredientWrites::UsageCheck;

// Whether a drink line names any row that has the name: a delete by name removes every such row.
UsageCheck checkUsage(CDatabase &db, const QString &name)
{
    CQueries queries;
    try {
        auto ids = db.database().OpenRecordset(QStringLiteral("SELECT ID FROM Ingredients WHERE Ingredient = ")
                                                   + engine::quotedName(name),
                                               engine::dbOpenSnapshot);
        for (; !ids->Eof(); ids->MoveNext()) {
            auto lines = queries.IsIngredientBeingUsed(ids->Fields(QStringLiteral("ID")).Value().toInt(), db.database());
            if (!lines)
                return {Usage::CheckFailed, queries.lastError()};
            if (lines->RecordCount() > 0)
                return {Usage::Used, std::nullopt};
        }
        return {Usage::Unused, std::nullopt};
    } catch (const EngineError &e) {
        return {Usage::CheckFailed, e};
    }
}

QString numbered(const EngineError &e)
{
    return QString::number(e.number()) + QStringLiteral(": ") + e.description();
}

} // namespace

std::optional<QString> IngredientWrites::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("An ingredient needs a name.");
    if (name.contains(QLatin1Char('"')) || name.contains(QLatin1Char(',')))
        return QStringLiteral("The ingredient name %1 holds a double quote or a comma.").arg(nameInMessage(name, u'\''));
    return std::nullopt;
}

int IngredientWrites::add(const QString &sIngredient, bool bCommon, bool bHas)
{
    m_db.requireWritable();
    const QString name = storedName(sIngredient);
    checkName(name);
    if (exists(name))
        throw EngineError(err::DuplicateValue, kNameTaken);

    auto max = m_db.database().QueryDefs(QStringLiteral("GetMaxIngID")).OpenRecordset(engine::dbOpenSnapshot);
    max->MoveFirst();
    // An empty table has no largest identifier: its first ingredient gets 1.
    const QVariant largest = max->Fields(QStringLiteral("MaxID")).Value();
    const int id = (largest.isNull() ? 0 : largest.toInt()) + 1;
    if (id > kMaxKey)
        throw EngineError(err::Overflow, QStringLiteral("Overflow: every ingredient number up to %1 is taken, so %2 was not added.")
                                             .arg(kMaxKey)
                                             .arg(nameInMessage(name, u'\'')));

    WriteTransaction tx(m_db);
    // Lines left behind by an ingredient that once had this number must not join the new one.
    CQueries queries;
    if (!queries.DeleteIngredientRel(id, m_db.database()))
        throw *queries.lastError();
    engine::Recordset &ingredients = m_db.ingredientsTable();
    ingredients.AddNew();
    ingredients.Fields(QStringLiteral("ID")) = id;
    ingredients.Fields(QStringLiteral("Ingredient")) = name;
    ingredients.Fields(QStringLiteral("Common")) = bCommon;
    if (bHas) // else Has keeps the field's default
        ingredients.Fields(QStringLiteral("Has")) = true;
    ingredients.Update();
    tx.commit();
    return id;
}

void IngredientWrites::rename(const QString &sOldName, const QString &sNewName, bool bCommon, bool bHas)
{
    if (bHas)
        m_db.requireBarList(); // a file without the column has no bar list to put it on
    m_db.requireWritable();
    const QString name = storedName(sNewName);
    checkName(name);
    engine::Recordset &ingredients = m_db.ingredientsTable();
    ingredients.FindFirst(nameCriteria(sOldName));
    if (ingredients.NoMatch())
        throw EngineError(err::NoCurrentRecord,
                          QStringLiteral("No ingredient is named %1, so nothing was changed.").arg(nameInMessage(sOldName, u'\'')));
    const QString id = ingredients.Fields(QStringLiteral("ID")).Value().toString();

    // Another ingredient by the new name would make every lookup by name ambiguous; the same one
    // under other letter case is a plain rename.
    ingredients.FindFirst(nameCriteria(name) + QStringLiteral(" AND [ID] <> ") + id);
    if (!ingredients.NoMatch())
        throw EngineError(err::DuplicateValue, kNameTaken);

    WriteTransaction tx(m_db);
    ingredients.FindFirst(QStringLiteral("[ID] = ") + id);
    ingredients.Edit();
    ingredients.Fields(QStringLiteral("Ingredient")) = name;
    ingredients.Fields(QStringLiteral("Common")) = bCommon;
    if (m_db.hasBarListColumn())
        ingredients.Fields(QStringLiteral("Has")) = bHas;
    ingredients.Update();
    tx.commit();
}

void IngredientWrites::remove(const QString &sIngredient)
{
    // The check and the delete run together, so no drink can come to use the ingredient in
    // between; a check that fails counts as "in use".
    std::optional<EngineError> failure;
    try {
        WriteTransaction tx(m_db);
        const UsageCheck check = checkUsage(m_db, sIngredient);
        if (check.usage == Usage::CheckFailed) {
            failure = check.error;
        } else if (check.usage == Usage::Used) {
            failure = EngineError(kRelatedRecords, sIngredient + QStringLiteral(" is used in some drinks, so it was not deleted."));
        } else {
            CQueries queries;
            if (queries.DelIngByName(sIngredient, m_db.database()))
                tx.commit();
            else
                failure = queries.lastError();
        }
    } catch (const EngineError &e) {
        failure = e;
    }
    if (failure)
        MsgBox(QStringLiteral("Error while deleting ingredient.\n") + numbered(*failure));
    m_db.ingredientsTable().Requery();
}

void IngredientWrites::combine(const QStringList &items, const QString &destination)
{
    const auto report = [](const EngineError &e, const QString &state) {
        MsgBox(QStringLiteral("Error executing replace or delete.  ") + numbered(e) + state);
    };
    // Every failure before the commit rolls the whole combine back.
    const QString nothingCombined = QStringLiteral("\n\nNothing was combined.");
    try {
        WriteTransaction tx(m_db);
        CQueries queries;
        bool combined = true;
        for (int i = 0; i < items.size() && combined; ++i) {
            const QString &item = items[i];
            if (item == destination)
                continue;
            const int oldId = ingredientId(m_db, item);
            const int newId = ingredientId(m_db, destination);
            // Lines moved to a missing ingredient would name nothing.
            if (newId == 0)
                throw EngineError(err::NoCurrentRecord,
                                  QStringLiteral("No ingredient is named %1, so nothing was combined.")
                                      .arg(nameInMessage(destination, u'\'')));
            // An item with no row of its own has no lines to move; one that finds the destination's
            // row is the destination under other letter case, and deleting it by name would
            // delete the destination.
            if (oldId == 0 || oldId == newId)
                continue;
            if (!queries.ReassignIngredient(oldId, newId, m_db.database())) {
                MsgBox(QStringLiteral("error during combine") + nothingCombined);
                combined = false;
            } else if (!queries.DelIngByName(item, m_db.database())) {
                throw *queries.lastError();
            }
        }
        if (combined)
            tx.commit(); // else every item goes back as it was
    } catch (const EngineError &e) {
        report(e, nothingCombined);
    }
    try {
        m_db.ingredientsTable().Requery();
    } catch (const EngineError &e) {
        report(e, QString());
    }
}

bool IngredientWrites::exists(const QString &sIngredientName)
{
    engine::Recordset &ingredients = m_db.ingredientsTable();
    ingredients.MoveFirst();
    ingredients.FindFirst(nameCriteria(sIngredientName));
    return !ingredients.NoMatch();
}

int IngredientWrites::drinksUsing(const QString &name)
{
    // One count over the lines, however many there are; lines left behind by a deleted drink are
    // no drink's.
    engine::Statement count(m_db.database(),
                            QStringLiteral("SELECT count(*) FROM Drinks WHERE ID IN (SELECT DrinkID FROM DrinkRel WHERE IngID IN "
                                           "(SELECT ID FROM Ingredients WHERE Ingredient = ? COLLATE NAMEKEY))"));
    count.bind(1, name);
    return count.next() ? int(count.integer(0)) : 0;
}

bool IngredientWrites::isUsed(const QString &sIngredientName)
{
    return checkUsage(m_db, sIngredientName).usage != Usage::Unused;
}

IngredientWrites::UsageCheck IngredientWrites::usage(const QString &name)
{
    return checkUsage(m_db, name);
}

// ---- CDatabase's ingredient members ----

void CDatabase::IngredientAdd(const QString &sIngredient, bool bCommon, bool bHas)
{
    UndoStep step(*this, QStringLiteral("Add Ingredient"));
    IngredientWrites(*this).add(sIngredient, bCommon, bHas);
}

void CDatabase::IngredientEdit(const QString &sOldName, const QString &sNewName, bool bCommon, bool bHas)
{
    UndoStep step(*this, sOldName == sNewName ? QStringLiteral("Edit Ingredient") : QStringLiteral("Rename Ingredient"));
    IngredientWrites(*this).rename(sOldName, sNewName, bCommon, bHas);
}

void CDatabase::IngredientDelete(const QString &sIngredient)
{
    UndoStep step(*this, QStringLiteral("Delete Ingredient"));
    IngredientWrites(*this).remove(sIngredient);
}

void CDatabase::IngredientCombine(QListWidget *lstList)
{
    UndoStep step(*this, QStringLiteral("Combine Ingredients"));
    QStringList items;
    for (int i = 0; i < lstList->count(); ++i)
        items << lstList->item(i)->text();
    const QList<QListWidgetItem *> selected = lstList->selectedItems();
    IngredientWrites(*this).combine(items, selected.isEmpty() ? QString() : selected.first()->text());
}

bool CDatabase::DoesIngredientExist(const QString &sIngredientName)
{
    return IngredientWrites(*this).exists(sIngredientName);
}

bool CDatabase::IsIngredientBeingUsed(const QString &sIngredientName)
{
    return IngredientWrites(*this).isUsed(sIngredientName);
}
