#pragma once
// Schema checks on an open database. Holds no state.

#include "store/engine/database.h"

class CGeneralDatabase {
public:
    // True when the table has the field; an item-not-found error means no. Any other failure of
    // the lookup reaches the caller.
    static bool DoesFieldExist(engine::Database &db, const QString &table, const QString &field);
    // Creates the field and appends it to the table. A failure reaches the caller as an EngineError
    // of the engine's number whose text names the field and the table.
    static void AddField(engine::Database &db, engine::TableDef &tableDef, const QString &field, int type);
};
