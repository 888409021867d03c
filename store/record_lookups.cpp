// Translating between ingredient names and keys (the drink lookups are in store/drink_store.cpp).

#include "store/CDatabase.h"

#include "store/engine/jet_dialect.h"

qint16 CDatabase::GetIngID(const QString &name)
{
    return m_db ? GetIngID(*m_db, name) : 0;
}

qint16 CDatabase::GetIngID(engine::Database &db, const QString &name)
{
    // No row or any failure: 0, silently. The indexed NOCASE lookup finds the usual spelling at
    // once; the name rule (a scan of the ingredients) finds the others.
    try {
        const QString sql = QStringLiteral("SELECT ID FROM Ingredients WHERE Ingredient = ") + engine::quotedName(name);
        for (const QString &collation : {QString(), QStringLiteral(" COLLATE NAMEKEY")}) {
            auto rs = db.OpenRecordset(sql + collation);
            if (!rs->Eof())
                return qint16(rs->Fields(QStringLiteral("ID")).Value().toInt());
        }
    } catch (const EngineError &) {
    }
    return 0;
}

QString CDatabase::GetIngName(qint16 id)
{
    engine::Recordset &ingredients = ingredientsTable();
    ingredients.FindFirst(QStringLiteral("[ID] = ") + QString::number(id));
    if (ingredients.NoMatch()) {
        throw EngineError(err::NoCurrentRecord, QStringLiteral("Cannot find ingredient number '") + QString::number(id) + QStringLiteral("'."));
    }
    return ingredients.Fields(QStringLiteral("Ingredient")).Value().toString();
}
