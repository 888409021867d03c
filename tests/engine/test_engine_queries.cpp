// The stored queries the library files carry, and how they are opened: parameters, patterns in which
// only "*" is special, case-insensitive order, the drink lookup's rows and columns.

#include "engine_test_support.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>

using namespace engine;
using enginetest::texts;

namespace {

// Names that LIKE would read as wildcards or escapes, names differing only in case, some marks.
library::Library patternLibrary()
{
    using enginetest::drink;
    library::Library lib;
    lib.ingredients << library::Ingredient{QStringLiteral("Gin")} << library::Ingredient{QStringLiteral("tonic water")}
                    << library::Ingredient{QStringLiteral("Lime"), false, true}
                    << library::Ingredient{QStringLiteral("Ice"), true, false}
                    << library::Ingredient{QStringLiteral("agave syrup"), true, true}
                    << library::Ingredient{QStringLiteral("Bitters")};
    const QList<library::Line> gin{{QStringLiteral("1 Ounce"), QStringLiteral("Gin")}};
    const QList<library::Line> agave{{QStringLiteral("1 Ounce"), QStringLiteral("agave syrup")}};
    lib.drinks << drink(QStringLiteral("Zombie"), {{"4 oz", "tonic water"}, {"", "Gin"}, {"2 dashes", "Lime"}},
                        QStringLiteral("Shake hard."), QStringLiteral("Strong stuff."))
               << drink(QStringLiteral("100% Agave"), agave, QStringLiteral("Pour 50% over ice."), QStringLiteral("Use 100% agave."))
               << drink(QStringLiteral("100 Agave"), agave, QStringLiteral("Pour half over ice."))
               << drink(QStringLiteral("a_b"), gin, QStringLiteral("Shake_it."), QStringLiteral("under_score"))
               << drink(QStringLiteral("axb"), gin, QStringLiteral("Shake it."), QStringLiteral("underXscore"))
               << drink(QStringLiteral("back\\slash"), gin, QStringLiteral("Use a \\ here."), QStringLiteral("c:\\path"))
               << drink(QStringLiteral("backslash"), gin, QStringLiteral("Use a slash."))
               << drink(QStringLiteral("apple Fizz"), gin, QStringLiteral("Top with soda."))
               << drink(QStringLiteral("Apple fizz 2"), gin, QStringLiteral("TOP WITH SODA."))
               << drink(QStringLiteral("banana"), {{"2 Dashes", "Bitters"}, {"", "Ice"}}, QStringLiteral("Blend."));
    lib.drinks[0].tried = lib.drinks[0].submitted = true;
    lib.drinks[7].tried = lib.drinks[7].print = true;
    lib.drinks[8].print = true;
    lib.drinks[9].submitted = true;
    return lib;
}

// Every drink of patternLibrary() in the order the lists show them.
const QStringList kAllSorted{"100 Agave", "100% Agave", "a_b",       "apple Fizz", "Apple fizz 2",
                             "axb",       "back\\slash", "backslash", "banana",     "Zombie"};

QStringList without(QStringList list, const QStringList &removed)
{
    for (const QString &r : removed)
        list.removeAll(r);
    return list;
}

} // namespace

class TestEngineQueries : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nameQueries_data();
    void nameQueries();
    void drinkLookup();
    void drinkLookupNullsAndMisses();
    void ingredientQueries();
    void queryDefErrors();
    void parameterCanBeReset();
    void starterQueries_data();
    void starterQueries();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Database> m_starter;
};

void TestEngineQueries::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = OpenDatabase(fixture::customLibrary(m_dir.path(), patternLibrary()));
    m_starter = OpenDatabase(fixture::starterLibrary(m_dir.path()));
}

void TestEngineQueries::init() { m_db->BeginTrans(); }
void TestEngineQueries::cleanup() { m_db->Rollback(); }

void TestEngineQueries::nameQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("names");

    const QString byName = QStringLiteral("NameSearchByName"), byDirections = QStringLiteral("DescSearchByName"),
                  byComments = QStringLiteral("CommentsSearch");
    QTest::newRow("all drinks") << "ShowAllName" << QString() << QString() << kAllSorted;
    QTest::newRow("name *") << byName << "aName" << "*" << kAllSorted;
    QTest::newRow("name **") << byName << "aName" << "**" << kAllSorted;
    QTest::newRow("name exact, any case") << byName << "aName" << "zOMBIE" << QStringList{"Zombie"};
    QTest::newRow("name begins with") << byName << "aName" << "ZOMB*" << QStringList{"Zombie"};
    QTest::newRow("name partial is no match") << byName << "aName" << "zomb" << QStringList{};
    QTest::newRow("name empty") << byName << "aName" << "" << QStringList{};
    QTest::newRow("name contains, sorted") << byName << "aName" << "*fizz*" << QStringList{"apple Fizz", "Apple fizz 2"};
    QTest::newRow("name ends with") << byName << "aName" << "*FIZZ" << QStringList{"apple Fizz"};
    QTest::newRow("% is literal") << byName << "aName" << "100%*" << QStringList{"100% Agave"};
    QTest::newRow("% alone") << byName << "aName" << "*%*" << QStringList{"100% Agave"};
    QTest::newRow("digits") << byName << "aName" << "100*" << QStringList{"100 Agave", "100% Agave"};
    QTest::newRow("_ is literal") << byName << "aName" << "a_b" << QStringList{"a_b"};
    QTest::newRow("_ alone") << byName << "aName" << "*_*" << QStringList{"a_b"};
    QTest::newRow("? is literal") << byName << "aName" << "a?b" << QStringList{};
    QTest::newRow("brackets are literal") << byName << "aName" << "[a]xb" << QStringList{};
    QTest::newRow("backslash is literal") << byName << "aName" << "back\\slash" << QStringList{"back\\slash"};
    QTest::newRow("backslash alone") << byName << "aName" << "*\\*" << QStringList{"back\\slash"};
    QTest::newRow("backslash before a letter") << byName << "aName" << "back\\s*" << QStringList{"back\\slash"};
    QTest::newRow("directions %") << byDirections << "sName" << "*50%*" << QStringList{"100% Agave"};
    QTest::newRow("directions _") << byDirections << "sName" << "*shake_it*" << QStringList{"a_b"};
    QTest::newRow("directions \\") << byDirections << "sName" << "*\\*" << QStringList{"back\\slash"};
    QTest::newRow("directions any case") << byDirections << "sName" << "*top with soda*" << QStringList{"apple Fizz", "Apple fizz 2"};
    QTest::newRow("directions *") << byDirections << "sName" << "*" << kAllSorted;
    QTest::newRow("comments _") << byComments << "sString" << "*under_score*" << QStringList{"a_b"};
    QTest::newRow("comments %") << byComments << "sString" << "*100%*" << QStringList{"100% Agave"};
    QTest::newRow("comments exact \\") << byComments << "sString" << "C:\\PATH" << QStringList{"back\\slash"};
    QTest::newRow("comments *, nulls left out")
        << byComments << "sString" << "*" << QStringList{"100% Agave", "a_b", "axb", "back\\slash", "Zombie"};
    QTest::newRow("tried") << "HaveTried" << QString() << QString() << QStringList{"apple Fizz", "Zombie"};
    QTest::newRow("not tried") << "HaveNotTried" << QString() << QString() << without(kAllSorted, {"apple Fizz", "Zombie"});
    QTest::newRow("submitted") << "SubmittedDrinks" << QString() << QString() << QStringList{"banana", "Zombie"};
    QTest::newRow("print") << "Print" << QString() << QString() << QStringList{"apple Fizz", "Apple fizz 2"};
}

void TestEngineQueries::nameQueries()
{
    QFETCH(QString, query);
    QFETCH(QString, parameter);
    QFETCH(QString, value);
    QFETCH(QStringList, names);
    QueryDef def = m_db->QueryDefs(query);
    QCOMPARE(def.parameterNames(), parameter.isEmpty() ? QStringList() : QStringList{parameter});
    if (!parameter.isEmpty())
        def.Parameters(parameter).setValue(value);
    auto rs = def.OpenRecordset(dbOpenSnapshot);
    QVERIFY(!rs->updatable());
    QCOMPARE(texts(*rs, QStringLiteral("Name")), names);
    QCOMPARE(rs->RecordCount(), int(names.size()));
}

void TestEngineQueries::drinkLookup()
{
    QueryDef def = m_db->QueryDefs(QStringLiteral("DrinkLookup"));
    def.Parameters(QStringLiteral("Drinkname")) = QStringLiteral("zombie");
    auto rs = def.OpenRecordset();
    QCOMPARE(rs->fieldNames(), (QStringList{"Name", "Description", "Comments", "Tried", "Print", "Submitted", "DrinkID", "Amount",
                                            "Ingredient", "ID"}));
    QCOMPARE(rs->RecordCount(), 3);
    // The lines in the order they were stored, each repeating the drink's own fields.
    QCOMPARE(texts(*rs, QStringLiteral("Ingredient")), (QStringList{"tonic water", "Gin", "Lime"}));
    QCOMPARE(texts(*rs, QStringLiteral("Amount")), (QStringList{"4 oz", "", "2 dashes"}));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("ID")), (QVariantList{2, 1, 3}));
    QCOMPARE(texts(*rs, QStringLiteral("Name")), QStringList(3, QStringLiteral("Zombie")));
    QCOMPARE(texts(*rs, QStringLiteral("Comments")), QStringList(3, QStringLiteral("Strong stuff.")));
    QCOMPARE(texts(*rs, QStringLiteral("Description")), QStringList(3, QStringLiteral("Shake hard.")));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("DrinkID")), QVariantList(3, 1));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("Tried")), QVariantList(3, true));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("Print")), QVariantList(3, false));
    QCOMPARE(enginetest::column(*rs, QStringLiteral("Submitted")), QVariantList(3, true));

    // A line written later comes last, whatever its ingredient.
    m_db->Execute(QStringLiteral("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (1, 6, \"1 Dash\")"));
    rs->Requery();
    QCOMPARE(texts(*rs, QStringLiteral("Ingredient")), (QStringList{"tonic water", "Gin", "Lime", "Bitters"}));
}

void TestEngineQueries::drinkLookupNullsAndMisses()
{
    QueryDef def = m_db->QueryDefs(QStringLiteral("DrinkLookup"));
    def.Parameters(QStringLiteral("Drinkname")) = QStringLiteral("100 Agave");
    auto rs = def.OpenRecordset();
    QCOMPARE(rs->RecordCount(), 1);
    QVERIFY(rs->Fields(QStringLiteral("Comments")).Value().isNull());
    QCOMPARE(rs->Fields(QStringLiteral("Ingredient")).Value(), QVariant(QStringLiteral("agave syrup")));

    // The name is a value, never a pattern.
    def.Parameters(QStringLiteral("Drinkname")) = QStringLiteral("100%");
    rs = def.OpenRecordset();
    QVERIFY(rs->Bof() && rs->Eof());
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Name")).Value(), err::NoCurrentRecord);
}

void TestEngineQueries::ingredientQueries()
{
    auto list = m_db->QueryDefs(QStringLiteral("GetIngList")).OpenRecordset(dbOpenSnapshot);
    QCOMPARE(list->fieldNames(), (QStringList{"Ingredient", "Common", "Has"}));
    QCOMPARE(texts(*list, QStringLiteral("Ingredient")), (QStringList{"agave syrup", "Bitters", "Gin", "Ice", "Lime", "tonic water"}));
    QCOMPARE(enginetest::column(*list, QStringLiteral("Common")), (QVariantList{true, false, false, true, false, false}));
    QCOMPARE(enginetest::column(*list, QStringLiteral("Has")), (QVariantList{true, false, false, false, true, false}));

    auto max = m_db->QueryDefs(QStringLiteral("GetMaxIngID")).OpenRecordset(dbOpenSnapshot);
    QCOMPARE(max->RecordCount(), 1);
    QCOMPARE(max->Fields(QStringLiteral("MaxID")).Value().toInt(), 6);
    m_db->Execute(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient) VALUES (40, \"Absinthe\")"));
    max->Requery();
    QCOMPARE(max->Fields(QStringLiteral("MaxID")).Value().toInt(), 40);
}

void TestEngineQueries::queryDefErrors()
{
    QCOMPARE_ENGINE_ERROR(m_db->QueryDefs(QStringLiteral("NoSuchQuery")), err::ItemNotFound);
    QueryDef def = m_db->QueryDefs(QStringLiteral("namesearchbyname")); // names are found in any case
    QCOMPARE(def.Name(), QStringLiteral("NameSearchByName"));
    QCOMPARE_ENGINE_ERROR(def.Parameters(QStringLiteral("sName")), err::ItemNotFound);
    QCOMPARE_ENGINE_ERROR(def.OpenRecordset(), err::TooFewParameters);
    QCOMPARE_ENGINE_ERROR(m_db->OpenRecordset(QStringLiteral("NameSearchByName")), err::TooFewParameters);
    QCOMPARE_ENGINE_ERROR(m_db->OpenRecordset(QStringLiteral("NoSuchTableOrQuery")), err::InputTableNotFound);
    def.Parameters(QStringLiteral("ANAME")) = QStringLiteral("banana");
    QCOMPARE(texts(*def.OpenRecordset(), QStringLiteral("Name")), QStringList{"banana"});
    QCOMPARE_ENGINE_ERROR(def.OpenRecordset()->AddNew(), err::ReadOnly);
}

void TestEngineQueries::parameterCanBeReset()
{
    QueryDef def = m_db->QueryDefs(QStringLiteral("NameSearchByName"));
    auto param = def.Parameters(QStringLiteral("aName"));
    param = QStringLiteral("a*");
    QCOMPARE(param.Value(), QVariant(QStringLiteral("a*")));
    QCOMPARE(def.OpenRecordset()->RecordCount(), 4);
    param = QStringLiteral("b*");
    QCOMPARE(texts(*def.OpenRecordset(), QStringLiteral("Name")), (QStringList{"back\\slash", "backslash", "banana"}));
}

// Every stored query of the starter library opens and gives what its contents promise.
void TestEngineQueries::starterQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("rows");

    const library::Library &lib = fixture::starterContents();
    int tried = 0, print = 0, submitted = 0, comments = 0;
    for (const auto &d : lib.drinks) {
        tried += d.tried;
        print += d.print;
        submitted += d.submitted;
        comments += !d.comments.isNull();
    }
    const int drinks = int(lib.drinks.size()), ingredients = int(lib.ingredients.size());
    const QStringList name{"Name"};
    QTest::newRow("DrinkLookup") << "DrinkLookup" << "Drinkname" << lib.drinks[0].name
                                 << QStringList{"Name", "Description", "Comments", "Tried", "Print", "Submitted", "DrinkID",
                                                "Amount", "Ingredient", "ID"}
                                 << int(lib.drinks[0].lines.size());
    QTest::newRow("ShowAllName") << "ShowAllName" << QString() << QString() << name << drinks;
    QTest::newRow("NameSearchByName") << "NameSearchByName" << "aName" << "*" << name << drinks;
    QTest::newRow("DescSearchByName") << "DescSearchByName" << "sName" << "*" << name << drinks;
    QTest::newRow("CommentsSearch") << "CommentsSearch" << "sString" << "*" << name << comments;
    QTest::newRow("HaveTried") << "HaveTried" << QString() << QString() << name << tried;
    QTest::newRow("HaveNotTried") << "HaveNotTried" << QString() << QString() << name << drinks - tried;
    QTest::newRow("SubmittedDrinks") << "SubmittedDrinks" << QString() << QString() << name << submitted;
    QTest::newRow("Print") << "Print" << QString() << QString() << name << print;
    QTest::newRow("GetIngList") << "GetIngList" << QString() << QString() << QStringList{"Ingredient", "Common", "Has"}
                                << ingredients;
    QTest::newRow("GetMaxIngID") << "GetMaxIngID" << QString() << QString() << QStringList{"MaxID"} << 1;
}

void TestEngineQueries::starterQueries()
{
    QFETCH(QString, query);
    QFETCH(QString, parameter);
    QFETCH(QString, value);
    QFETCH(QStringList, columns);
    QFETCH(int, rows);
    QueryDef def = m_starter->QueryDefs(query);
    if (!parameter.isEmpty())
        def.Parameters(parameter) = value;
    auto rs = def.OpenRecordset(dbOpenSnapshot);
    QCOMPARE(rs->fieldNames(), columns);
    QCOMPARE(rs->RecordCount(), rows);
    if (columns.first() == QLatin1String("Name") && query != QLatin1String("DrinkLookup")) {
        // Sorted by name without regard to case.
        const QStringList names = texts(*rs, QStringLiteral("Name"));
        for (int i = 1; i < names.size(); ++i)
            QVERIFY2(names[i - 1].compare(names[i], Qt::CaseInsensitive) <= 0, qPrintable(names[i - 1] + " > " + names[i]));
    }
    if (query == QLatin1String("GetMaxIngID"))
        QCOMPARE(rs->Fields(QStringLiteral("MaxID")).Value().toInt(), int(fixture::starterContents().ingredients.size()));
}

QTEST_GUILESS_MAIN(TestEngineQueries)
#include "test_engine_queries.moc"
