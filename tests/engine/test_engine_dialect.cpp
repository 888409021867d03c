// The classic SQL dialect: what the translation makes of every statement form the program sends, that
// the result runs with the intended effect, and that no name can change a statement.

#include "engine_test_support.h"
#include "store/engine/jet_dialect.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>
#include <algorithm>

using namespace engine;
using enginetest::count;

namespace {

int ingredientId(const QString &name)
{
    const auto &ings = fixture::starterContents().ingredients;
    for (int i = 0; i < ings.size(); ++i) {
        if (ings[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    qFatal("no ingredient %s in the starter library", qPrintable(name));
}

// Drink IDs (as texts) whose lines use every one of the ingredients.
QStringList drinksUsing(const QStringList &ingredients)
{
    QStringList ids;
    const auto &drinks = fixture::starterContents().drinks;
    for (int i = 0; i < drinks.size(); ++i) {
        QSet<QString> used;
        for (const auto &line : drinks[i].lines)
            used.insert(line.ingredient.toLower());
        if (std::all_of(ingredients.begin(), ingredients.end(), [&](const QString &n) { return used.contains(n.toLower()); }))
            ids << QString::number(i + 1);
    }
    return ids;
}

// Drink IDs (as texts), one per line that uses the ingredient.
QStringList lineDrinkIds(const QString &ingredient)
{
    QStringList ids;
    const auto &drinks = fixture::starterContents().drinks;
    for (int i = 0; i < drinks.size(); ++i) {
        for (const auto &line : drinks[i].lines) {
            if (line.ingredient.compare(ingredient, Qt::CaseInsensitive) == 0)
                ids << QString::number(i + 1);
        }
    }
    return ids;
}

const QString kHostile[] = {
    QStringLiteral("a\"b"),
    QStringLiteral("x\" OR \"1\"=\"1"),
    QStringLiteral("'; DROP TABLE Drinks; --"),
    QStringLiteral("O'Brien"),
    QStringLiteral("\""),
    QStringLiteral("\"\""),
    QStringLiteral("it's \"quoted\" -- really"),
    QStringLiteral("1\"=\"1"),
};

} // namespace

class TestEngineDialect : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void translate_data();
    void translate();
    void unterminatedLiteralFails_data();
    void unterminatedLiteralFails();

    void actionStatementsRun_data();
    void actionStatementsRun();
    void selectStatementsRun_data();
    void selectStatementsRun();
    void hostileNames_data();
    void hostileNames();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_starter;
    std::unique_ptr<Database> m_hostile;
};

void TestEngineDialect::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_starter = OpenDatabase(fixture::starterLibrary(m_dir.path()));
    library::Library lib;
    lib.ingredients << library::Ingredient{QStringLiteral("Gin")} << library::Ingredient{QStringLiteral("Tonic")};
    for (const QString &name : kHostile)
        lib.ingredients << library::Ingredient{name};
    lib.drinks << enginetest::drink(QStringLiteral("Gin and Tonic"), {{QStringLiteral("2 Ounces"), QStringLiteral("Gin")},
                                                                       {QString(), QStringLiteral("Tonic")}});
    m_hostile = OpenDatabase(fixture::customLibrary(m_dir.path(), lib, QStringLiteral("hostile.mdb")));
}

// Every test leaves the files as it found them.
void TestEngineDialect::init()
{
    m_starter->BeginTrans();
    m_hostile->BeginTrans();
}

void TestEngineDialect::cleanup()
{
    m_starter->Rollback();
    m_hostile->Rollback();
}

void TestEngineDialect::translate_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("distinctrow") << "SELECT DISTINCTROW Max([ID]) AS MaxID FROM Drinks;"
                                 << "SELECT Max([ID]) AS MaxID FROM Drinks;";
    QTest::newRow("distinctrow lower case") << "select distinctrow Name from Drinks" << "select Name from Drinks";
    QTest::newRow("delete drink") << "DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=5));"
                                  << "DELETE From Drinks WHERE (((Drinks.ID)=5));";
    QTest::newRow("delete lines") << "DELETE DrinkRel.DrinkID, * From DrinkRel WHERE (((DrinkRel.DrinkID)=12));"
                                  << "DELETE From DrinkRel WHERE (((DrinkRel.DrinkID)=12));";
    QTest::newRow("delete ingredient")
        << "DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE (((Ingredients.Ingredient)=\"Gin\"));"
        << "DELETE From Ingredients WHERE (((Ingredients.Ingredient)='Gin'));";
    QTest::newRow("delete, FROM inside the literal")
        << "DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE (((Ingredients.Ingredient)=\"a FROM b\"));"
        << "DELETE From Ingredients WHERE (((Ingredients.Ingredient)='a FROM b'));";
    QTest::newRow("plain delete kept") << "DELETE FROM Drinks WHERE ID = 3" << "DELETE FROM Drinks WHERE ID = 3";
    QTest::newRow("update qualified set") << "UPDATE DrinkRel SET DrinkRel.IngID = 3 WHERE (((DrinkRel.IngID)=4));"
                                          << "UPDATE DrinkRel SET IngID = 3 WHERE (((DrinkRel.IngID)=4));";
    QTest::newRow("update two columns") << "UPDATE Drinks SET Drinks.Tried = True, Drinks.Print = False WHERE ID = 1"
                                        << "UPDATE Drinks SET Tried = 1, Print = 0 WHERE ID = 1";
    QTest::newRow("common = True") << "SELECT Ingredient FROM Ingredients WHERE Common = True"
                                   << "SELECT Ingredient FROM Ingredients WHERE Common = 1";
    QTest::newRow("Print=True") << "SELECT Drinks.ID FROM Drinks WHERE Print=True" << "SELECT Drinks.ID FROM Drinks WHERE Print=1";
    QTest::newRow("false lower case") << "SELECT ID FROM Ingredients WHERE Has = false"
                                      << "SELECT ID FROM Ingredients WHERE Has = 0";
    QTest::newRow("words containing true") << "SELECT Untrue, TrueName, True_ FROM t" << "SELECT Untrue, TrueName, True_ FROM t";
    QTest::newRow("literal") << "SELECT ID FROM Ingredients WHERE Ingredient = \"Gin\""
                             << "SELECT ID FROM Ingredients WHERE Ingredient = 'Gin'";
    QTest::newRow("empty literal") << "SELECT 1 WHERE \"\" = \"\"" << "SELECT 1 WHERE '' = ''";
    QTest::newRow("apostrophe doubled") << "SELECT 1 WHERE x = \"O'Brien's\"" << "SELECT 1 WHERE x = 'O''Brien''s'";
    QTest::newRow("doubled quotes undone") << "SELECT 1 WHERE x = \"say \"\"hi\"\"\"" << "SELECT 1 WHERE x = 'say \"hi\"'";
    QTest::newRow("keywords inside a literal")
        << "SELECT 1 WHERE x = \"True False DISTINCTROW DELETE a, * FROM b; -- c\""
        << "SELECT 1 WHERE x = 'True False DISTINCTROW DELETE a, * FROM b; -- c'";
    QTest::newRow("single-quoted literal kept") << "SELECT 1 WHERE x = 'it''s \"True\"'" << "SELECT 1 WHERE x = 'it''s \"True\"'";
    QTest::newRow("bracketed name kept") << "SELECT [True] FROM [Drinks]" << "SELECT [True] FROM [Drinks]";
    QTest::newRow("ingredient search")
        << "SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel WHERE Drinks.ID = DrinkRel.DrinkID AND "
           "DrinkRel.IngID = Ingredients.ID AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = 7);"
        << "SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel WHERE Drinks.ID = DrinkRel.DrinkID AND "
           "DrinkRel.IngID = Ingredients.ID AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = 7);";
}

void TestEngineDialect::translate()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(translateJetSql(jet), sqlite);
}

// A literal that never ends is a broken statement, not one that quietly runs.
void TestEngineDialect::unterminatedLiteralFails_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("select, no closing quote") << "SELECT ID FROM Ingredients WHERE Ingredient = \"Gin";
    QTest::newRow("select, doubled quote at the end") << "SELECT ID FROM Ingredients WHERE Ingredient = \"Gin\"\"";
    QTest::newRow("select, lone quote") << "SELECT ID FROM Ingredients WHERE Ingredient = \"";
    QTest::newRow("delete, no closing quote")
        << "DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE Ingredients.Ingredient = \"Gin";
}

void TestEngineDialect::unterminatedLiteralFails()
{
    QFETCH(QString, sql);
    const int before = count(*m_starter, QStringLiteral("Ingredients"));
    if (sql.startsWith(QLatin1String("DELETE")))
        QCOMPARE_ENGINE_ERROR(m_starter->Execute(sql, dbFailOnError), err::SyntaxInQuery);
    else
        QCOMPARE_ENGINE_ERROR(m_starter->OpenRecordset(sql), err::SyntaxInQuery);
    QCOMPARE(count(*m_starter, QStringLiteral("Ingredients")), before);
}

void TestEngineDialect::actionStatementsRun_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("check"); // a count over table and condition, before and after
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("affected");

    const auto &lib = fixture::starterContents();
    const int drinks = int(lib.drinks.size());
    const int linesOf5 = int(lib.drinks[4].lines.size());
    const int gin = ingredientId(QStringLiteral("Gin")), vodka = ingredientId(QStringLiteral("Vodka"));
    const int ginLines = count(*m_starter, QStringLiteral("DrinkRel WHERE IngID = %1").arg(gin));
    const int vodkaLines = count(*m_starter, QStringLiteral("DrinkRel WHERE IngID = %1").arg(vodka));
    QVERIFY(ginLines > 1 && vodkaLines > 1 && linesOf5 > 1);

    QTest::newRow("delete drink") << "DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=5));" << "Drinks" << drinks
                                  << drinks - 1 << 1;
    QTest::newRow("delete drink, only that one") << "DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=5));"
                                                 << "Drinks WHERE ID = 5" << 1 << 0 << 1;
    QTest::newRow("delete lines") << "DELETE DrinkRel.DrinkID, * From DrinkRel WHERE (((DrinkRel.DrinkID)=5));"
                                  << "DrinkRel WHERE DrinkID = 5" << linesOf5 << 0 << linesOf5;
    QTest::newRow("delete ingredient, any case")
        << "DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE (((Ingredients.Ingredient)=\"gIN\"));"
        << "Ingredients WHERE ID = " + QString::number(gin) << 1 << 0 << 1;
    QTest::newRow("move lines away") << QStringLiteral("UPDATE DrinkRel SET DrinkRel.IngID = %1 WHERE (((DrinkRel.IngID)=%2));")
                                            .arg(vodka)
                                            .arg(gin)
                                     << "DrinkRel WHERE IngID = " + QString::number(gin) << ginLines << 0 << ginLines;
    QTest::newRow("move lines onto") << QStringLiteral("UPDATE DrinkRel SET DrinkRel.IngID = %1 WHERE (((DrinkRel.IngID)=%2));")
                                            .arg(vodka)
                                            .arg(gin)
                                     << "DrinkRel WHERE IngID = " + QString::number(vodka) << vodkaLines
                                     << vodkaLines + ginLines << ginLines;
    QTest::newRow("mark with True") << "UPDATE Drinks SET Drinks.Print = True WHERE ID <= 3" << "Drinks WHERE Print = 1" << 0
                                    << 3 << 3;
    QTest::newRow("no row matches") << "DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=30000));" << "Drinks" << drinks
                                    << drinks << 0;
}

void TestEngineDialect::actionStatementsRun()
{
    QFETCH(QString, statement);
    QFETCH(QString, check);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(int, affected);
    QCOMPARE(count(*m_starter, check), before);
    m_starter->Execute(statement, dbFailOnError);
    QCOMPARE(m_starter->RecordsAffected(), affected);
    QCOMPARE(count(*m_starter, check), after);
}

void TestEngineDialect::selectStatementsRun_data()
{
    QTest::addColumn<QString>("setup"); // an action statement run first, or empty
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("values"); // sorted; empty: not checked

    const auto &lib = fixture::starterContents();
    const QString drinks = QString::number(lib.drinks.size());
    const int gin = ingredientId(QStringLiteral("Gin")), vermouth = ingredientId(QStringLiteral("Dry vermouth"));
    int lines = 0;
    for (const auto &d : lib.drinks)
        lines += int(d.lines.size());
    QStringList common;
    for (const auto &i : lib.ingredients) {
        if (i.common)
            common << i.name;
    }
    common.sort();
    QVERIFY(!common.isEmpty());
    QStringList martiniLike;
    for (const QString &id : drinksUsing({QStringLiteral("Gin"), QStringLiteral("Dry vermouth")}))
        martiniLike << lib.drinks[id.toInt() - 1].name;
    martiniLike.sort();
    QVERIFY(martiniLike.contains(QStringLiteral("Martini")));
    QStringList ginDrinks = lineDrinkIds(QStringLiteral("Gin"));
    ginDrinks.sort();

    QTest::newRow("drink count") << QString() << "SELECT count(*) as DrinkCount FROM Drinks" << "DrinkCount" << 1
                                 << QStringList{drinks};
    QTest::newRow("ingredient id by name, any case")
        << QString() << "SELECT ID FROM Ingredients WHERE Ingredient = " + quotedName(QStringLiteral("dry VERMOUTH")) << "ID"
        << 1 << QStringList{QString::number(vermouth)};
    QTest::newRow("name by id") << QString() << "SELECT Name FROM Drinks WHERE ID = 6" << "Name" << 1
                                << QStringList{lib.drinks[5].name};
    QTest::newRow("max id") << QString() << "SELECT DISTINCTROW Max([ID]) AS MaxID FROM Drinks;" << "MaxID" << 1
                            << QStringList{drinks};
    QTest::newRow("drinks using an ingredient")
        << QString() << QStringLiteral("SELECT DrinkRel.DrinkID From DrinkRel WHERE (((DrinkRel.IngID)=%1));").arg(gin)
        << "DrinkID" << int(ginDrinks.size()) << ginDrinks;
    QTest::newRow("common ingredients") << QString() << "SELECT Ingredient FROM Ingredients WHERE Common = True" << "Ingredient"
                                        << int(common.size()) << common;
    QTest::newRow("bar list lines") << QString()
                                    << "SELECT DrinkRel.DrinkID,DrinkRel.IngID,Ingredients.Common,Ingredients.Has FROM "
                                       "DrinkRel,Ingredients WHERE DrinkRel.IngID=Ingredients.ID ORDER BY DrinkRel.DrinkID"
                                    << "Has" << lines << QStringList();
    QTest::newRow("ingredient search")
        << QString()
        << QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel WHERE Drinks.ID = DrinkRel.DrinkID "
                          "AND DrinkRel.IngID = Ingredients.ID AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %1)"
                          "AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %2);")
               .arg(gin)
               .arg(vermouth)
        << "Name" << int(martiniLike.size()) << martiniLike;
    QTest::newRow("ingredient search, unknown name") << QString()
                                                     << "SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel WHERE "
                                                        "Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID AND "
                                                        "DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = 0);"
                                                     << "Name" << 0 << QStringList();
    QTest::newRow("drinks to print") << "UPDATE Drinks SET Drinks.Print = True WHERE ID = 2 OR ID = 9"
                                     << "SELECT Drinks.ID FROM Drinks WHERE Print=True" << "ID" << 2 << QStringList{"2", "9"};
}

void TestEngineDialect::selectStatementsRun()
{
    QFETCH(QString, setup);
    QFETCH(QString, select);
    QFETCH(QString, field);
    QFETCH(int, rows);
    QFETCH(QStringList, values);
    if (!setup.isEmpty())
        m_starter->Execute(setup, dbFailOnError);
    auto rs = m_starter->OpenRecordset(select, dbOpenSnapshot);
    QCOMPARE(rs->RecordCount(), rows);
    QStringList found = enginetest::texts(*rs, field);
    QCOMPARE(found.size(), rows);
    if (!values.isEmpty()) {
        found.sort();
        QCOMPARE(found, values);
    }
}

void TestEngineDialect::hostileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    int id = 3; // after Gin and Tonic
    for (const QString &name : kHostile)
        QTest::newRow(qPrintable(name)) << name << id++;
}

void TestEngineDialect::hostileNames()
{
    QFETCH(QString, name);
    QFETCH(int, id);
    Database &db = *m_hostile;
    const int ingredients = count(db, QStringLiteral("Ingredients"));

    auto rs = db.OpenRecordset(QStringLiteral("SELECT ID FROM Ingredients WHERE Ingredient = ") + quotedName(name));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("ID")), QVariantList{id});

    auto table = db.OpenRecordset(QStringLiteral("Ingredients"), dbOpenDynaset);
    table->FindFirst(QStringLiteral("[Ingredient] = ") + quotedName(name));
    QVERIFY(!table->NoMatch());
    QCOMPARE(table->Fields(QStringLiteral("ID")).Value(), QVariant(id));
    table->FindNext(QStringLiteral("Ingredient = ") + quotedName(name));
    QVERIFY(table->NoMatch());

    db.Execute(QStringLiteral("DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE "
                              "(((Ingredients.Ingredient)=")
                   + quotedName(name) + QStringLiteral("));"),
               dbFailOnError);
    QCOMPARE(db.RecordsAffected(), 1);
    QCOMPARE(count(db, QStringLiteral("Ingredients")), ingredients - 1);
    QCOMPARE(count(db, QStringLiteral("Ingredients WHERE ID = %1").arg(id)), 0);
    QCOMPARE(count(db, QStringLiteral("Drinks")), 1);
}

QTEST_GUILESS_MAIN(TestEngineDialect)
#include "test_engine_dialect.moc"
