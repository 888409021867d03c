#pragma once
// The SQL action statements and lookups of the write operations. Each keeps the text it built last,
// so the statement that ran (or failed) can be checked, and the statements that report failure only
// by their result keep the error for a caller that wants to name it.

#include "core/engine_error.h"

#include <QString>
#include <memory>
#include <optional>

namespace engine {
class Database;
class Recordset;
} // namespace engine

class CQueries {
public:
    // ---- Drinks (store/CQueries.cpp, used by DrinkStore) ----
    // The largest drink identifier, 0 when there is no drink.
    qint16 GetMaxDrinkID(engine::Database &database);
    // The identifier of the named drink found on the given Drinks record set, 0 when none has it.
    qint16 GetDrinkID(const QString &sDrinkName, engine::Recordset &drinks);
    bool DeleteDrink(qint16 iDrinkID, engine::Database &database);
    bool DeleteDrinkRel(qint16 iDrinkID, engine::Database &database);

    // ---- Ingredients (edit/CQueries_ingredients.cpp) ----
    bool DelIngByName(const QString &sIngredient, engine::Database &database);
    bool ReassignIngredient(int iOldID, int iNewID, engine::Database &database);
    // Deletes the drink lines that name the ingredient number (lines left behind by a row now gone).
    bool DeleteIngredientRel(int iIngredientID, engine::Database &database);
    std::unique_ptr<engine::Recordset> IsIngredientBeingUsed(int iIngredientID, engine::Database &database);

    const QString &LastStatement() const { return m_sSQL; }
    // The failure of the last statement that answered false; empty after a success.
    const std::optional<EngineError> &lastError() const { return m_lastError; }

private:
    // Runs m_sSQL as a fail-on-error action; false (with lastError set) when it failed.
    bool executeAction(engine::Database &database);

    QString m_sSQL;
    std::optional<EngineError> m_lastError;
};
