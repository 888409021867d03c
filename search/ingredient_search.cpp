// Drinks that contain every one of a list of ingredients.

#include "store/CDatabase.h"

#include "common/CCommonRoutines.h"

std::unique_ptr<engine::Recordset> CDatabase::SearchByIngredients(const QString &sIngredients)
{
    constexpr int kListSize = 21;
    QStringList names;
    const int count = CCommonRoutines().CommaDelimitedStringToArray(names, sIngredients, kListSize);
    if (m_output)
        m_output->setStatusText(QStringLiteral("Getting ingredient IDs..."));
    QList<qint16> ids;
    for (int i = 0; i < count; ++i)
        ids.append(GetIngID(names[i]));

    QString sql = QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel ")
                  + QStringLiteral("WHERE Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID ");
    for (qint16 id : ids)
        sql += QStringLiteral("AND DrinkID IN (SELECT DrinkID FROM DrinkRel ") + QStringLiteral("WHERE IngID = ")
               + QString::number(id) + QLatin1Char(')');
    sql += QLatin1Char(';');
    m_lastIngredientSql = sql;
    if (m_output)
        m_output->setStatusText(QStringLiteral("Searching for drinks..."));
    return database().OpenRecordset(sql);
}
