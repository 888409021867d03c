#include "store/CGeneralDatabase.h"

bool CGeneralDatabase::DoesFieldExist(engine::Database &db, const QString &table, const QString &field)
{
    try {
        db.TableDefs(table).Fields(field);
        return true;
    } catch (const EngineError &e) {
        if (e.number() != err::ItemNotFound)
            throw;
        return false;
    }
}

void CGeneralDatabase::AddField(engine::Database &db, engine::TableDef &tableDef, const QString &field, int type)
{
    Q_UNUSED(db);
    try {
        tableDef.Append(tableDef.CreateField(field, type));
    } catch (const EngineError &e) {
        throw EngineError(e.number(), QStringLiteral("Error creating field '") + field + QStringLiteral("' in table '")
                                          + tableDef.Name() + QStringLiteral("'.") + QLatin1Char('\n') + QStringLiteral("Error: ")
                                          + QString::number(e.number()) + QStringLiteral(": ") + e.description());
    }
}
