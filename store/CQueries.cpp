// The drink statements of the write operations, and the one way every action statement runs.

#include "store/CQueries.h"

#include "store/engine/database.h"
#include "store/engine/jet_dialect.h"

namespace {
// An identifier as it is written into a statement. Identifiers are 16-bit in the tables; an id out of
// that range cannot name a row, and its digits can never change the statement either way.
QString digits(int id)
{
    return QString::number(id);
}
} // namespace

bool CQueries::executeAction(engine::Database &database)
{
    m_lastError.reset();
    try {
        database.Execute(m_sSQL, engine::dbFailOnError);
        return true;
    } catch (const EngineError &e) {
        m_lastError = e;
        return false;
    }
}

qint16 CQueries::GetMaxDrinkID(engine::Database &database)
{
    m_sSQL = QStringLiteral("SELECT DISTINCTROW Max([ID]) AS MaxID FROM Drinks;");
    auto rs = database.OpenRecordset(m_sSQL, engine::dbOpenSnapshot);
    // An empty table has no largest identifier: the first drink then gets 1.
    return qint16(rs->Fields(QStringLiteral("MaxID")).Value().toInt());
}

qint16 CQueries::GetDrinkID(const QString &sDrinkName, engine::Recordset &drinks)
{
    m_sSQL = QStringLiteral("[Name] = ") + engine::quotedName(sDrinkName);
    if (drinks.RecordCount() == 0)
        return 0;
    drinks.MoveFirst();
    drinks.FindFirst(m_sSQL);
    return drinks.NoMatch() ? qint16(0) : qint16(drinks.Fields(QStringLiteral("ID")).Value().toInt());
}

bool CQueries::DeleteDrink(qint16 iDrinkID, engine::Database &database)
{
    m_sSQL = QStringLiteral("DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=") + digits(iDrinkID) + QStringLiteral("));");
    return executeAction(database);
}

bool CQueries::DeleteDrinkRel(qint16 iDrinkID, engine::Database &database)
{
    m_sSQL = QStringLiteral("DELETE DrinkRel.DrinkID, * From DrinkRel WHERE (((DrinkRel.DrinkID)=") + digits(iDrinkID)
        + QStringLiteral("));");
    return executeAction(database);
}
