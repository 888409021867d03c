#pragma once
// Schema checks on an open database. Holds no state.

#include "store/engine/database.h"

class CGeneralDatabase {
public:
    // True when the table has the field. An item-not-found error means no; any other failure is
    // shown ("<number> <text>") and also counts as no.
    static bool DoesFieldExist(engine::Database &db, const QString &table, const QString &field);
    // Creates the field and appends it to the table; on failure shows why and gives false.
    static bool AddField(engine::Database &db, engine::TableDef &tableDef, const QString &field, int type);
};
