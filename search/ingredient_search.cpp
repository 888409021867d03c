// Drinks that contain every one of a list of ingredients.

#include "search/drink_search.h"
#include "store/CDatabase.h"

#include "common/CCommonRoutines.h"
#include "core/name_order.h"

#include <QMultiHash>
#include <functional>
#include <vector>

namespace {

// The list has no quoting, so a name that holds "," arrives in pieces. Where pieces name no
// ingredient, neighbouring pieces are joined back with "," into names. Of all such readings the one
// kept leaves the fewest pieces naming nothing and, among those, keeps the most names apart; a list
// whose pieces all name ingredients is therefore read as it always was.
QList<qint16> readNamesWithCommas(const QStringList &pieces, const QList<qint16> &ids,
                                  const std::function<qint16(const QString &)> &idOf)
{
    // The best reading of the pieces from one position to the end.
    struct Reading {
        int unknown = 0; // pieces naming nothing
        int names = 0;
        int run = 1;     // pieces joined into the first name
        qint16 id = 0;   // the first name's
    };
    const int n = int(ids.size());
    std::vector<Reading> best(size_t(n) + 1);
    for (int i = n - 1; i >= 0; --i) {
        const Reading &rest = best[size_t(i) + 1];
        Reading chosen{rest.unknown + (ids[i] == 0 ? 1 : 0), rest.names + 1, 1, ids[i]};
        QString joined = pieces[i];
        bool coversUnknown = ids[i] == 0;
        for (int j = i + 1; j < n; ++j) {
            joined += QLatin1Char(',') + pieces[j];
            coversUnknown = coversUnknown || ids[j] == 0;
            if (!coversUnknown)
                continue; // joining pieces that all name ingredients only loses names
            const qint16 id = idOf(joined);
            const Reading &after = best[size_t(j) + 1];
            if (id != 0 && (after.unknown < chosen.unknown || (after.unknown == chosen.unknown && after.names + 1 > chosen.names)))
                chosen = Reading{after.unknown, after.names + 1, j - i + 1, id};
        }
        best[size_t(i)] = chosen;
    }
    QList<qint16> read;
    for (int i = 0; i < n; i += best[size_t(i)].run)
        read.append(best[size_t(i)].id);
    return read;
}

// The ingredient a searched name means: the one of that name, else the one that reads the same
// without accents ("creme de cassis" for "Crème de Cassis"), else none (0).
class IngredientFinder {
public:
    explicit IngredientFinder(engine::Database &db) : m_db(db) {}

    qint16 idOf(const QString &name)
    {
        if (const qint16 id = CDatabase::GetIngID(m_db, name))
            return id;
        if (!m_loaded) {
            m_loaded = true;
            auto rs = m_db.OpenRecordset(QStringLiteral("SELECT ID, Ingredient FROM Ingredients ORDER BY ID"),
                                         engine::dbOpenForwardOnly);
            for (; !rs->Eof(); rs->MoveNext())
                m_bySearchKey.insert(searchKey(rs->value(QStringLiteral("Ingredient")).toString()),
                                     qint16(rs->value(QStringLiteral("ID")).toInt()));
        }
        return m_bySearchKey.value(searchKey(name), 0);
    }

private:
    engine::Database &m_db;
    bool m_loaded = false;
    QMultiHash<QString, qint16> m_bySearchKey;
};

} // namespace

QString DrinkSearch::ingredientSql(const QString &sIngredients)
{
    constexpr int kListSize = 21;
    QStringList names;
    const int count = CCommonRoutines().CommaDelimitedStringToArray(names, sIngredients, kListSize);
    progress(QStringLiteral("Getting ingredient IDs..."));
    IngredientFinder finder(m_db);
    QList<qint16> ids;
    for (int i = 0; i < count; ++i)
        ids.append(finder.idOf(names[i]));
    if (ids.contains(0))
        ids = readNamesWithCommas(names, ids, [&finder](const QString &name) { return finder.idOf(name); });

    QString sql = QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel ")
                  + QStringLiteral("WHERE Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID ");
    for (qint16 id : ids)
        sql += QStringLiteral("AND DrinkID IN (SELECT DrinkID FROM DrinkRel ") + QStringLiteral("WHERE IngID = ")
               + QString::number(id) + QLatin1Char(')');
    sql += QLatin1Char(';');
    m_lastIngredientSql = sql;
    progress(QStringLiteral("Searching for drinks..."));
    return sql;
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByIngredients(const QString &sIngredients)
{
    DrinkSearch search(database());
    if (m_output)
        search.setProgress([this](const QString &text) { m_output->setStatusText(text); });
    m_lastIngredientSql = search.ingredientSql(sIngredients);
    return database().OpenRecordset(m_lastIngredientSql);
}
