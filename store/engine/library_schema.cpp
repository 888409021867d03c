#include "store/engine/library_schema.h"

namespace library {

namespace {
// A name pattern in which "*" is any run of characters and every other character stands for
// itself: LIKE's own wildcards and its escape character are escaped first.
QString patternMatch(const QString &column, const QString &parameter)
{
    return QStringLiteral("%1 LIKE replace(replace(replace(replace(%2, '\\', '\\\\'), '%', '\\%'), '_', '\\_'), '*', '%') ESCAPE '\\'")
        .arg(column, parameter);
}

const QString kByName = QStringLiteral(" ORDER BY Name, ID");
} // namespace

QStringList schemaStatements(bool withHas)
{
    return {
        QStringLiteral("CREATE TABLE Drinks ("
                       "ID SMALLINT NOT NULL PRIMARY KEY, "
                       "Name TEXT(255) COLLATE NOCASE, "
                       "Description LONGTEXT, "
                       "Comments LONGTEXT, "
                       "Tried BOOLEAN NOT NULL DEFAULT 0, "
                       "Print BOOLEAN NOT NULL DEFAULT 0, "
                       "Submitted BOOLEAN NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE INDEX DrinksByName ON Drinks (Name, ID)"),
        QStringLiteral("CREATE TABLE Ingredients ("
                       "ID SMALLINT NOT NULL PRIMARY KEY, "
                       "Ingredient TEXT(255) COLLATE NOCASE, "
                       "Common BOOLEAN NOT NULL DEFAULT 0")
            + (withHas ? QStringLiteral(", Has BOOLEAN NOT NULL DEFAULT 0)") : QStringLiteral(")")),
        QStringLiteral("CREATE INDEX IngredientsByName ON Ingredients (Ingredient)"),
        QStringLiteral("CREATE TABLE DrinkRel ("
                       "DrinkID SMALLINT NOT NULL, "
                       "IngID SMALLINT NOT NULL, "
                       "Amount TEXT(255))"),
        QStringLiteral("CREATE INDEX DrinkRelByDrink ON DrinkRel (DrinkID, IngID)"),
        QStringLiteral("CREATE INDEX DrinkRelByIngredient ON DrinkRel (IngID)"),
        QStringLiteral("CREATE TABLE QueryDefs (Name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, SQL TEXT NOT NULL)"),
    };
}

QList<QPair<QString, QString>> storedQueries()
{
    return {
        // Left joins: a drink whose line lost its ingredient, or that has no line, still shows.
        {QStringLiteral("DrinkLookup"),
         QStringLiteral("SELECT Drinks.Name AS Name, Drinks.Description AS Description, Drinks.Comments AS Comments, "
                        "Drinks.Tried AS Tried, Drinks.Print AS Print, Drinks.Submitted AS Submitted, "
                        "Drinks.ID AS DrinkID, DrinkRel.Amount AS Amount, Ingredients.Ingredient AS Ingredient, "
                        "Ingredients.ID AS ID "
                        "FROM Drinks LEFT JOIN DrinkRel ON DrinkRel.DrinkID = Drinks.ID "
                        "LEFT JOIN Ingredients ON Ingredients.ID = DrinkRel.IngID "
                        "WHERE Drinks.Name = :Drinkname ORDER BY Drinks.ID, DrinkRel.rowid")},
        {QStringLiteral("ShowAllName"), QStringLiteral("SELECT Name FROM Drinks") + kByName},
        {QStringLiteral("NameSearchByName"),
         QStringLiteral("SELECT Name FROM Drinks WHERE ") + patternMatch(QStringLiteral("Name"), QStringLiteral(":aName")) + kByName},
        {QStringLiteral("DescSearchByName"),
         QStringLiteral("SELECT Name FROM Drinks WHERE ") + patternMatch(QStringLiteral("Description"), QStringLiteral(":sName"))
             + kByName},
        {QStringLiteral("CommentsSearch"),
         QStringLiteral("SELECT Name FROM Drinks WHERE ") + patternMatch(QStringLiteral("Comments"), QStringLiteral(":sString"))
             + kByName},
        {QStringLiteral("HaveTried"), QStringLiteral("SELECT Name FROM Drinks WHERE Tried <> 0") + kByName},
        {QStringLiteral("HaveNotTried"), QStringLiteral("SELECT Name FROM Drinks WHERE Tried = 0") + kByName},
        {QStringLiteral("SubmittedDrinks"), QStringLiteral("SELECT Name FROM Drinks WHERE Submitted <> 0") + kByName},
        {QStringLiteral("Print"), QStringLiteral("SELECT Name FROM Drinks WHERE Print <> 0") + kByName},
        {QStringLiteral("GetIngList"), QStringLiteral("SELECT Ingredient, Common, Has FROM Ingredients ORDER BY Ingredient, ID")},
        {QStringLiteral("GetMaxIngID"), QStringLiteral("SELECT Max(ID) AS MaxID FROM Ingredients")},
    };
}

} // namespace library
