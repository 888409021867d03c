// Drinks and their lines: reading a drink whole, saving, deleting and marking drinks, and the drink
// lookups of the gateway.

#include "store/drink_store.h"

#include "core/name_order.h"
#include "store/CDatabase.h"
#include "store/CQueries.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/statement.h"
#include "store/write_transaction.h"

#include <QHash>

namespace {

const QString kName = QStringLiteral("Name");
constexpr int kLargestKey = 32767;

// "ID, Name, Description, ..." for a SELECT, with `wrap` applied to each column but ID.
QString columnList(const std::function<QString(const DrinkColumn &)> &wrap = {})
{
    QString list = QStringLiteral("ID");
    for (const DrinkColumn &column : drinkColumns())
        list += QStringLiteral(", ") + (wrap ? wrap(column) : column.name);
    return list;
}

// A drink from a row whose first column is ID and the others drinkColumns(), from `first` on.
Drink drinkFromRow(const engine::Statement &row, int first = 0)
{
    Drink drink;
    drink.key = qint16(row.integer(first));
    for (qsizetype i = 0; i < drinkColumns().size(); ++i)
        drinkColumns()[i].set(drink, row.value(first + 1 + int(i)));
    return drink;
}

QString markColumn(DrinkMark mark)
{
    return mark == DrinkMark::Tried ? QStringLiteral("Tried") : QStringLiteral("Print");
}

// Writes the mark of the named drink found on `drinks`; false when no drink has the name.
bool markDrink(engine::Recordset &drinks, const QString &name, const QString &field, bool value)
{
    drinks.FindFirst(QStringLiteral("Name = ") + engine::quotedName(name));
    if (drinks.NoMatch())
        return false;
    drinks.Edit();
    drinks.Fields(field) = value;
    drinks.Update();
    return true;
}

} // namespace

DrinkStore::DrinkStore(CDatabase &database) : m_db(database) {}

// ---- Reading ------------------------------------------------------------------------------------

std::optional<Drink> DrinkStore::readWhere(const QString &where, const QVariant &value)
{
    engine::Statement row(m_db.database(), QStringLiteral("SELECT ") + columnList() + QStringLiteral(" FROM Drinks WHERE ") + where
                                               + QStringLiteral(" ORDER BY ID LIMIT 1"));
    row.bind(1, value);
    if (!row.next())
        return std::nullopt;
    Drink drink = drinkFromRow(row);
    readLines(drink);
    return drink;
}

std::optional<Drink> DrinkStore::read(const QString &name)
{
    return readWhere(QStringLiteral("Name = ?"), name);
}

std::optional<Drink> DrinkStore::read(int key)
{
    if (key < -kLargestKey - 1 || key > kLargestKey)
        return std::nullopt;
    return readWhere(QStringLiteral("ID = ?"), key);
}

void DrinkStore::readLines(Drink &drink)
{
    engine::Statement lines(m_db.database(), QStringLiteral("SELECT DrinkRel.Amount, Ingredients.Ingredient, Ingredients.ID FROM DrinkRel "
                                                            "JOIN Ingredients ON Ingredients.ID = DrinkRel.IngID "
                                                            "WHERE DrinkRel.DrinkID = ? ORDER BY DrinkRel.rowid"));
    lines.bind(1, drink.key);
    while (lines.next())
        drink.lines.append({lines.text(0), lines.text(1), qint16(lines.integer(2))});
}

QList<Drink> DrinkStore::readAll()
{
    engine::Database &db = m_db.database();
    QHash<int, QString> ingredientName;
    engine::Statement ingredients(db, QStringLiteral("SELECT ID, Ingredient FROM Ingredients WHERE Ingredient IS NOT NULL"));
    while (ingredients.next())
        ingredientName.insert(int(ingredients.integer(0)), ingredients.text(1));

    QList<Drink> drinks;
    QHash<int, qsizetype> drinkAt;
    engine::Statement rows(db, QStringLiteral("SELECT ") + columnList()
                                   + QStringLiteral(" FROM Drinks WHERE Name IS NOT NULL ORDER BY Name COLLATE NAMEKEY, ID"));
    while (rows.next()) {
        drinkAt.insert(int(rows.integer(0)), drinks.size());
        drinks.append(drinkFromRow(rows));
    }
    engine::Statement lines(db, QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid"));
    while (lines.next()) {
        const auto drink = drinkAt.constFind(int(lines.integer(0)));
        const auto ingredient = ingredientName.constFind(int(lines.integer(1)));
        if (drink != drinkAt.cend() && ingredient != ingredientName.cend())
            drinks[*drink].lines.append({lines.text(2), *ingredient, qint16(lines.integer(1))});
    }
    return drinks;
}

std::optional<DrinkStore::Shown> DrinkStore::readShown(const QString &name, int maxTextBytes, int maxLines,
                                                       const std::function<QString(const QString &, qint64)> &cutText)
{
    engine::Database &db = m_db.database();
    // A long text is not read here: typeof() tells a missing text from an empty one, and its start
    // is read on its own below.
    engine::Statement row(db, QStringLiteral("SELECT rowid, ")
                                  + columnList([](const DrinkColumn &c) { return c.longText ? QStringLiteral("typeof(%1)").arg(c.name) : c.name; })
                                  + QStringLiteral(" FROM Drinks WHERE Name = ? ORDER BY ID LIMIT 1"));
    row.bind(1, name);
    if (!row.next())
        return std::nullopt;
    Shown shown;
    const qint64 rowid = row.integer(0);
    shown.drink.key = qint16(row.integer(1));
    for (qsizetype i = 0; i < drinkColumns().size(); ++i) {
        const DrinkColumn &column = drinkColumns()[i];
        QVariant value = row.value(2 + int(i));
        if (column.longText && value.toString() != QLatin1String("null")) {
            const engine::Database::TextStart start = db.readTextStart(QStringLiteral("Drinks"), column.name, rowid, maxTextBytes);
            value = start.totalBytes <= maxTextBytes ? start.text : cutText(start.text, start.totalBytes);
        } else if (column.longText) {
            value = QVariant();
        }
        column.set(shown.drink, value);
    }

    engine::Statement lines(db, QStringLiteral("SELECT DrinkRel.Amount, Ingredients.Ingredient, Ingredients.ID, "
                                               "Ingredients.Common <> 0 OR %1 <> 0 FROM DrinkRel "
                                               "JOIN Ingredients ON Ingredients.ID = DrinkRel.IngID WHERE DrinkRel.DrinkID = ? "
                                               "ORDER BY DrinkRel.rowid LIMIT ?")
                                    .arg(m_db.barListMark(QStringLiteral("Ingredients.Has"))));
    lines.bind(1, shown.drink.key).bind(2, maxLines + 1);
    while (lines.next()) {
        if (shown.drink.lines.size() == maxLines) {
            engine::Statement all(db, QStringLiteral("SELECT count(*) FROM DrinkRel JOIN Ingredients ON "
                                                     "Ingredients.ID = DrinkRel.IngID WHERE DrinkRel.DrinkID = ?"));
            all.bind(1, shown.drink.key);
            all.next();
            shown.lineCount = all.integer(0);
            break;
        }
        shown.drink.lines.append({lines.text(0), lines.text(1), qint16(lines.integer(2))});
        shown.available.append(lines.integer(3) != 0);
    }
    if (shown.lineCount == 0)
        shown.lineCount = shown.drink.lines.size();
    return shown;
}

// ---- Lookups ------------------------------------------------------------------------------------

qint64 DrinkStore::count()
{
    auto rs = m_db.database().OpenRecordset(QStringLiteral("SELECT count(*) as DrinkCount FROM Drinks"));
    return rs->Fields(QStringLiteral("DrinkCount")).Value().toLongLong();
}

QString DrinkStore::nameOf(qint16 key)
{
    auto rs = m_db.database().OpenRecordset(QStringLiteral("SELECT Name FROM Drinks WHERE ID = ") + QString::number(key));
    rs->MoveFirst();
    return rs->Fields(kName).Value().toString();
}

qint16 DrinkStore::keyOf(const QString &name)
{
    return CQueries().GetDrinkID(name, m_db.drinksTable());
}

bool DrinkStore::exists(const QString &name)
{
    engine::Recordset &drinks = m_db.drinksTable();
    drinks.MoveFirst();
    drinks.FindFirst(QStringLiteral("[Name] = ") + engine::quotedName(name));
    return !drinks.NoMatch();
}

QList<std::pair<qint16, QVariant>> DrinkStore::keysAndNames()
{
    engine::Statement drinks(m_db.database(), QStringLiteral("SELECT ID, Name FROM Drinks ORDER BY ID DESC"));
    QList<std::pair<qint16, QVariant>> all;
    while (drinks.next())
        all.append({qint16(drinks.integer(0)), drinks.value(1)});
    return all;
}

QList<int> DrinkStore::keysMarkedToPrint()
{
    auto tagged = m_db.database().OpenRecordset(QStringLiteral("SELECT Drinks.ID FROM Drinks WHERE Print=True"), engine::dbOpenSnapshot);
    QList<int> keys;
    for (; !tagged->Eof(); tagged->MoveNext())
        keys << tagged->Fields(QStringLiteral("ID")).Value().toInt();
    return keys;
}

QHash<QString, quint8> DrinkStore::markedDrinks()
{
    engine::Statement rows(m_db.database(), QStringLiteral("SELECT Name, Tried, Print FROM Drinks "
                                                           "WHERE (Tried <> 0 OR Print <> 0) AND Name IS NOT NULL"));
    QHash<QString, quint8> marked;
    while (rows.next())
        marked.insert(rows.text(0), quint8((rows.integer(1) ? Drink::TriedMark : Drink::NoMark)
                                           | (rows.integer(2) ? Drink::PrintMark : Drink::NoMark)));
    return marked;
}

// ---- Writes -------------------------------------------------------------------------------------

qint16 DrinkStore::save(const Drink &drink)
{
    CQueries queries;
    engine::Database &db = m_db.database();
    engine::Recordset &drinks = m_db.drinksTable();
    engine::Recordset &lines = m_db.drinkRelTable();
    WriteTransaction transaction(m_db);
    qint16 key = drink.key;
    if (key == 0) {
        const int next = int(queries.GetMaxDrinkID(db)) + 1;
        if (next > kLargestKey)
            throw EngineError(err::Overflow, QStringLiteral("Overflow: the library holds the highest drink number there can be "
                                                            "(32767), so no drink can be added.  Nothing was stored."));
        key = qint16(next);
        // Lines left behind by a drink that once had this number must not join the new one.
        if (!queries.DeleteDrinkRel(key, db))
            throw *queries.lastError();
        drinks.AddNew();
    } else {
        drinks.FindFirst(QStringLiteral("[ID] = ") + QString::number(key));
        if (drinks.NoMatch())
            throw EngineError(err::NoCurrentRecord,
                              QStringLiteral("The drink '%1' is no longer in the library; nothing was changed.").arg(drink.name));
        drinks.Edit();
        if (!queries.DeleteDrinkRel(key, db))
            throw *queries.lastError();
    }
    drinks.Fields(QStringLiteral("ID")) = key;
    for (const DrinkColumn &column : drinkColumns())
        drinks.Fields(column.name) = column.get(drink);
    drinks.Update();
    for (const Drink::Line &line : drink.lines) {
        lines.AddNew();
        lines.Fields(QStringLiteral("DrinkID")) = key;
        lines.Fields(QStringLiteral("IngID")) = int(line.ingredientKey);
        lines.Fields(QStringLiteral("Amount")) = line.amount;
        lines.Update();
    }
    transaction.commit();
    return key;
}

bool DrinkStore::remove(const QString &name, std::optional<EngineError> *cause)
{
    CQueries queries;
    WriteTransaction transaction(m_db);
    const qint16 key = queries.GetDrinkID(name, m_db.drinksTable());
    // The row and its lines go together or not at all.
    if (!queries.DeleteDrink(key, m_db.database()) || !queries.DeleteDrinkRel(key, m_db.database())) {
        if (cause)
            *cause = queries.lastError();
        return false;
    }
    transaction.commit();
    // The table sets may still hold the deleted rows' keys; they find rows by query, never by
    // walking past them, so they are not re-read for every drink of a long delete.
    if (sameName(name, m_db.shownDrinkName()))
        m_db.forgetShownDrink();
    return true;
}

void DrinkStore::removeMany(const QStringList &names, const std::function<bool(const QString &)> &goOn)
{
    // One transaction: each drink goes whole or not at all, the ones deleted stay deleted when the
    // caller stops after a failure, and they reach the disk together.
    WriteTransaction transaction(m_db);
    for (const QString &name : names) {
        std::optional<EngineError> cause;
        try {
            if (remove(name, &cause))
                continue;
        } catch (const EngineError &e) {
            cause = e;
        }
        // A failure of the file itself (full, read-only, unreadable) fails every drink alike, and the
        // engine may already have undone the whole transaction: nothing is deleted, and the caller
        // hears the cause once. Only a drink refused on its own asks whether to go on.
        if (cause && (isStorageFailure(cause->number()) || !m_db.database().inTransaction()))
            throw EngineError(cause->number(), cause->description() + QStringLiteral("  No drink of the current set was deleted."));
        if (!goOn(name))
            break;
    }
    try {
        transaction.commit();
    } catch (const EngineError &e) {
        // Another program reading the file holds the commit back: the whole set stays, and the
        // message says so, as for a failure on the way.
        throw EngineError(e.number(), e.description() + QStringLiteral("  No drink of the current set was deleted."));
    }
}

bool DrinkStore::setMark(DrinkMark mark, const QString &name, bool value)
{
    WriteTransaction transaction(m_db);
    auto drinks = m_db.database().OpenRecordset(QStringLiteral("Drinks"), engine::dbOpenDynaset);
    if (!markDrink(*drinks, name, markColumn(mark), value))
        return false;
    transaction.commit();
    return true;
}

QStringList DrinkStore::setMarks(DrinkMark mark, const QStringList &names, bool value)
{
    WriteTransaction transaction(m_db);
    auto drinks = m_db.database().OpenRecordset(QStringLiteral("Drinks"), engine::dbOpenDynaset);
    QStringList missing;
    for (const QString &name : names) {
        if (!markDrink(*drinks, name, markColumn(mark), value))
            missing << name;
    }
    transaction.commit();
    return missing;
}

void DrinkStore::clearPrintMarks()
{
    engine::Recordset &drinks = m_db.drinksTable();
    const QString criteria = QStringLiteral("[Print] = True");
    WriteTransaction transaction(m_db);
    for (drinks.FindFirst(criteria); !drinks.NoMatch(); drinks.FindNext(criteria)) {
        drinks.Edit();
        drinks.Fields(QStringLiteral("Print")) = false;
        drinks.Update();
    }
    transaction.commit();
}

// ---- Many drinks at once ------------------------------------------------------------------------

DrinkStore::BulkWriter::BulkWriter(engine::Database &database)
{
    QString insertColumns = QStringLiteral("ID"), values = QStringLiteral("?1"), assignments;
    for (qsizetype i = 0; i < drinkColumns().size(); ++i) {
        const QString parameter = QStringLiteral("?%1").arg(i + 2);
        insertColumns += QStringLiteral(", ") + drinkColumns()[i].name;
        values += QStringLiteral(", ") + parameter;
        assignments += (i ? QStringLiteral(", ") : QString()) + drinkColumns()[i].name + QStringLiteral(" = ") + parameter;
    }
    m_add = std::make_unique<engine::Statement>(
        database, QStringLiteral("INSERT INTO Drinks (%1) VALUES (%2)").arg(insertColumns, values));
    m_replace = std::make_unique<engine::Statement>(database, QStringLiteral("UPDATE Drinks SET %1 WHERE ID = ?1").arg(assignments));
    m_dropLines = std::make_unique<engine::Statement>(database, QStringLiteral("DELETE FROM DrinkRel WHERE DrinkID = ?"));
    m_dropLinesAbove = std::make_unique<engine::Statement>(database, QStringLiteral("DELETE FROM DrinkRel WHERE DrinkID > ?"));
    m_addLine = std::make_unique<engine::Statement>(database, QStringLiteral("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (?, ?, ?)"));
}

DrinkStore::BulkWriter::~BulkWriter() = default;

void DrinkStore::BulkWriter::add(int key, const Drink &drink)
{
    m_add->bind(1, key);
    for (qsizetype i = 0; i < drinkColumns().size(); ++i)
        m_add->bind(int(i) + 2, drinkColumns()[i].get(drink));
    m_add->run();
    writeLines(key, drink);
}

void DrinkStore::BulkWriter::replace(int key, const Drink &drink)
{
    m_replace->bind(1, key);
    for (qsizetype i = 0; i < drinkColumns().size(); ++i)
        m_replace->bind(int(i) + 2, drinkColumns()[i].get(drink));
    m_replace->run();
    m_dropLines->bind(1, key).run();
    writeLines(key, drink);
}

void DrinkStore::BulkWriter::dropLinesAbove(int key)
{
    m_dropLinesAbove->bind(1, key).run();
}

void DrinkStore::BulkWriter::writeLines(int key, const Drink &drink)
{
    for (const Drink::Line &line : drink.lines)
        m_addLine->bind(1, key).bind(2, int(line.ingredientKey)).bind(3, line.amount).run();
}

// ---- The gateway's drink lookups ----------------------------------------------------------------

QString CDatabase::DrinkCount()
{
    return QString::number(DrinkStore(*this).count());
}

QString CDatabase::GetDrinkName(qint16 id)
{
    return DrinkStore(*this).nameOf(id);
}

bool CDatabase::DoesDrinkExist(const QString &sDrinkName)
{
    return DrinkStore(*this).exists(sDrinkName);
}
