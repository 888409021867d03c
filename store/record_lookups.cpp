// Translating between names and keys, and counting drinks.

#include "store/CDatabase.h"

#include "store/engine/jet_dialect.h"

QString CDatabase::DrinkCount()
{
    auto rs = database().OpenRecordset(QStringLiteral("SELECT count(*) as DrinkCount FROM Drinks"));
    return rs->Fields(QStringLiteral("DrinkCount")).Value().toString();
}

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

QString CDatabase::GetDrinkName(qint16 id)
{
    auto rs = database().OpenRecordset(QStringLiteral("SELECT Name FROM Drinks WHERE ID = ") + QString::number(id));
    rs->MoveFirst();
    return rs->Fields(QStringLiteral("Name")).Value().toString();
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

bool CDatabase::DoesDrinkExist(const QString &sDrinkName)
{
    engine::Recordset &drinks = drinksTable();
    drinks.MoveFirst();
    drinks.FindFirst(QStringLiteral("[Name] = ") + engine::quotedName(sDrinkName));
    return !drinks.NoMatch();
}
