// The ingredient statements of the write operations: deleting by name, moving drink lines from one
// ingredient to another, and the drink lines that use an ingredient.

#include "store/CQueries.h"

#include "common/message_box.h"
#include "store/engine/database.h"
#include "store/engine/jet_dialect.h"

bool CQueries::DelIngByName(const QString &sIngredient, engine::Database &database)
{
    // The name goes between quotes through quotedName, so a quote inside it stays part of the name.
    m_sSQL = QStringLiteral("DELETE Ingredients.*, Ingredients.Ingredient From ")
        + QStringLiteral("Ingredients WHERE (((Ingredients.Ingredient)=") + engine::quotedName(sIngredient)
        + QStringLiteral("));");
    return executeAction(database);
}

bool CQueries::ReassignIngredient(int iOldID, int iNewID, engine::Database &database)
{
    m_sSQL = QStringLiteral("UPDATE DrinkRel SET DrinkRel.IngID = ") + QString::number(iNewID) + QStringLiteral(" ")
        + QStringLiteral("WHERE (((DrinkRel.IngID)=") + QString::number(iOldID) + QStringLiteral("));");
    if (executeAction(database))
        return true;
    MsgBox(m_lastError->description());
    return false;
}

bool CQueries::DeleteIngredientRel(int iIngredientID, engine::Database &database)
{
    m_sSQL = QStringLiteral("DELETE DrinkRel.IngID, * From DrinkRel WHERE (((DrinkRel.IngID)=") + QString::number(iIngredientID)
        + QStringLiteral("));");
    return executeAction(database);
}

std::unique_ptr<engine::Recordset> CQueries::IsIngredientBeingUsed(int iIngredientID, engine::Database &database)
{
    m_sSQL = QStringLiteral("SELECT DrinkRel.DrinkID From DrinkRel WHERE (((DrinkRel.IngID)=") + QString::number(iIngredientID)
        + QStringLiteral("));");
    m_lastError.reset();
    try {
        return database.OpenRecordset(m_sSQL, engine::dbOpenSnapshot);
    } catch (const EngineError &e) {
        m_lastError = e;
        MsgBox(e.description());
        return nullptr;
    }
}
