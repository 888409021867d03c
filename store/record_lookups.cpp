// Translating between ingredient names and keys (the drink lookups are in store/drink_store.cpp).

#include "store/CDatabase.h"

#include "common/message_box.h"
#include "store/engine/jet_dialect.h"

qint16 CDatabase::GetIngID(const QString &name)
{
    // No row, a closed store or any other failure: 0, silently. The indexed NOCASE lookup finds the
    // usual spelling at once; the name rule (a scan of the ingredients) finds the others.
    try {
        const QString sql = QStringLiteral("SELECT ID FROM Ingredients WHERE Ingredient = ") + engine::quotedName(name);
        for (const QString &collation : {QString(), QStringLiteral(" COLLATE NAMEKEY")}) {
            auto rs = database().OpenRecordset(sql + collation);
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
        MsgBox(QStringLiteral("Cannot find ingredient number '") + QString::number(id) + QStringLiteral("'."),
               msgbox::vbInformation);
        return QString();
    }
    return ingredients.Fields(QStringLiteral("Ingredient")).Value().toString();
}
