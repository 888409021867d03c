// The library builder: the JSON source and its checks, the JSON writer, the synthetic library, the files it writes,
// and the starter library that ships with the program.

#include "engine_test_support.h"
#include "store/engine/library_builder.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>

using namespace engine;
using enginetest::count;

namespace {

// A valid library with the given drinks (a JSON array text) over Gin, Tonic water and Ice.
QByteArray libraryJson(const QByteArray &drinks, const QByteArray &head = R"("format": "zestro-library", "version": 1)")
{
    return "{" + head + R"(, "ingredients": [{"name": "Gin"}, {"name": "Tonic water"}, {"name": "Ice", "common": true}],
              "drinks": )" + drinks + "}";
}

const QByteArray kGinAndTonic = R"({"name": "Gin and Tonic", "lines": [{"amount": "2 Ounces", "ingredient": "Gin"},
                                   {"amount": "", "ingredient": "tonic WATER"}], "directions": "Build."})";

} // namespace

class TestEngineBuilder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void parseRejects_data();
    void parseRejects();
    void parseListsEveryProblem();
    void parseReads();
    void writerRoundTrip();
    void readMissingFile();

    void syntheticShape();
    void syntheticIsDeterministic();
    void writeLayouts_data();
    void writeLayouts();
    void writeReplacesAndRefuses();

    void starterSource();
    void starterFile();

private:
    QTemporaryDir m_dir;
};

void TestEngineBuilder::initTestCase() { QVERIFY(m_dir.isValid()); }

void TestEngineBuilder::parseRejects_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("named"); // a piece of the description that names the problem

    QTest::newRow("not json") << QByteArray("{\"format\": ") << "not valid";
    QTest::newRow("an array") << QByteArray("[1, 2]") << "format";
    QTest::newRow("wrong format tag") << libraryJson("[" + kGinAndTonic + "]", R"("format": "zestro", "version": 1)") << "format";
    QTest::newRow("no format tag") << libraryJson("[" + kGinAndTonic + "]", R"("version": 1)") << "format";
    QTest::newRow("wrong version") << libraryJson("[" + kGinAndTonic + "]", R"("format": "zestro-library", "version": 2)")
                                   << "version 1";
    QTest::newRow("duplicate drink, other case")
        << libraryJson("[" + kGinAndTonic + ", " + QByteArray(kGinAndTonic).replace("Gin and Tonic", "GIN AND tonic") + "]")
        << "GIN AND tonic";
    QTest::newRow("unknown ingredient")
        << libraryJson(R"([{"name": "Screwdriver", "lines": [{"amount": "2 Ounces", "ingredient": "Vodka"}]}])") << "Vodka";
    QTest::newRow("line without ingredient")
        << libraryJson(R"([{"name": "Screwdriver", "lines": [{"amount": "2 Ounces"}]}])") << "Screwdriver";
    QTest::newRow("lines not a list") << libraryJson(R"([{"name": "Air", "lines": "Gin"}])") << "drink 1 \"Air\": \"lines\" must be a list";
    QTest::newRow("line not an object") << libraryJson(R"([{"name": "Air", "lines": ["Gin"]}])") << "drink 1 \"Air\", line 1: not an object";
    QTest::newRow("amount as a number")
        << libraryJson(R"([{"name": "Neat", "lines": [{"amount": "1 Ounce", "ingredient": "Gin"}, {"amount": 2, "ingredient": "Gin"}]}])")
        << "drink 1 \"Neat\", line 2: the amount 2 is a number";
    QTest::newRow("mark not true or false") << libraryJson(R"([{"name": "Neat", "tried": "yes"}])") << "\"tried\" must be true or false";
    QTest::newRow("drink name too long") << libraryJson("[{\"name\": \"" + QByteArray(256, 'x') + "\"}]") << "longer than 255";
    QTest::newRow("no drinks list") << QByteArray(R"({"format": "zestro-library", "version": 1, "ingredients": []})") << "\"drinks\" must be";
    QTest::newRow("drink name with a double quote")
        << libraryJson("[" + QByteArray(kGinAndTonic).replace("Gin and Tonic", R"(The \"G\" and T)") + "]") << "The \"G\" and T";
    QTest::newRow("drink without name") << libraryJson("[" + QByteArray(kGinAndTonic).replace("Gin and Tonic", "  ") + "]")
                                        << "no name";
    QTest::newRow("ingredient with a double quote")
        << QByteArray(R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "5\" lime peel"}], "drinks": []})")
        << "5\" lime peel";
    QTest::newRow("ingredient with a comma")
        << QByteArray(R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Salt, coarse"}], "drinks": []})")
        << "Salt, coarse";
    QTest::newRow("drink name with a zero-width space")
        << libraryJson("[" + QByteArray(kGinAndTonic).replace("Gin and", "Gin\u200b and") + "]") << "invisible";
    QTest::newRow("duplicate drink, composed and decomposed")
        << libraryJson("[{\"name\": \"B\u00e9n\u00e9dictine Fizz\"}, {\"name\": \"Be\u0301ne\u0301dictine Fizz\"}]")
        << "Fizz\"; one has a composed '\u00e9', the other 'e' followed by a combining accent).";
    const QByteArray big(library::kMaxDrinkText + 1, 'x'), longName(10 * 1024 * 1024, 'A');
    QTest::newRow("NUL in directions") << libraryJson(R"([{"name": "Air", "directions": "Stir.\u0000Hidden."}])")
                                       << "drink 1 \"Air\": \"directions\" holds the control character U+0000.";
    QTest::newRow("escape in comments") << libraryJson(R"([{"name": "Air", "comments": "\u001b[2J"}])") << "\"comments\" holds the control character U+001b";
    QTest::newRow("C1 control in an amount") << libraryJson(R"([{"name": "Air", "lines": [{"amount": "1\u0085", "ingredient": "Gin"}]}])")
                                             << "drink 1 \"Air\", line 1: \"amount\" holds the control character U+0085";
    QTest::newRow("NUL in an ingredient name")
        << QByteArray(R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Gin\u0000"}], "drinks": []})") << "control";
    QTest::newRow("directions too long") << libraryJson(R"([{"name": "Air", "directions": ")" + big + "\"}]") << "\"directions\" is longer than 65536";
    QTest::newRow("comments too long") << libraryJson(R"([{"name": "Air", "comments": ")" + big + "\"}]") << "\"comments\" is longer than 65536";
    QTest::newRow("too many lines") << libraryJson(R"([{"name": "Air", "lines": [)" + QByteArray(R"({"ingredient": "Gin"},)").repeated(200)
                                                   + R"({"ingredient": "Gin"}]}])")
                                    << "drink 1 \"Air\": more than 200 lines.";
    QTest::newRow("a 10 MB name is quoted short") << libraryJson("[{\"name\": \"" + longName + "\"}]")
                                                  << "drink 1 \"" + QString(60, 'A') + "\u2026\" (10,485,760 characters): the name is longer";
}

void TestEngineBuilder::parseRejects()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, named);
    try {
        library::parseLibraryJson(json);
        QFAIL("accepted");
    } catch (const EngineError &e) {
        QCOMPARE(e.number(), err::UnrecognizedFormat);
        QVERIFY2(e.description().contains(named), qPrintable(e.description()));
    }
}

void TestEngineBuilder::parseListsEveryProblem()
{
    QByteArray drinks = "[";
    for (int i = 1; i <= 25; ++i)
        drinks += (i > 1 ? ", " : "") + QStringLiteral(R"({"name": "D%1", "lines": [{"ingredient": "Vodka"}]})").arg(i).toUtf8();
    try {
        library::parseLibraryJson(libraryJson(drinks + "]"));
        QFAIL("accepted");
    } catch (const EngineError &e) {
        const QStringList lines = e.description().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + library::kProblemsShown + 1);
        QCOMPARE(lines[1], QStringLiteral(R"(drink 1 "D1", line 1: uses "Vodka", which is not in the ingredient list.)"));
        QVERIFY(lines[20].startsWith(QStringLiteral("drink 20 ")));
        QCOMPARE(lines.last(), QStringLiteral("... and 5 more problems."));
    }
}

void TestEngineBuilder::parseReads()
{
    const library::Library lib = library::parseLibraryJson(libraryJson(
        "[" + kGinAndTonic
        + R"(, {"name": "Ice Water", "lines": [{"ingredient": "Ice"}], "comments": "Plain.", "tried": true, "print": true,
             "submitted": true}])"));
    QCOMPARE(lib.ingredients.size(), 3);
    QVERIFY(lib.ingredients[2].common);
    QVERIFY(!lib.ingredients[0].common && !lib.ingredients[0].has);
    QCOMPARE(lib.drinks.size(), 2);
    QCOMPARE(lib.drinks[0].lines.size(), 2);
    QCOMPARE(lib.drinks[0].lines[0].amount, QStringLiteral("2 Ounces"));
    QVERIFY(lib.drinks[0].comments.isNull());
    QVERIFY(!lib.drinks[0].tried && !lib.drinks[0].print && !lib.drinks[0].submitted);
    QCOMPARE(lib.drinks[1].comments, QVariant(QStringLiteral("Plain.")));
    QVERIFY(lib.drinks[1].tried && lib.drinks[1].print && lib.drinks[1].submitted);
    QCOMPARE(lib.drinks[1].lines[0].amount, QString());
    QCOMPARE(lib.drinks[0].lines[1].ingredient, QStringLiteral("Tonic water")); // as the list spells it
    // Lines and directions may be left out: the editor allows empty directions, old libraries hold
    // drinks without lines.
    const library::Library bare = library::parseLibraryJson(libraryJson(R"([{"name": "Air"}])"));
    QVERIFY(bare.drinks[0].lines.isEmpty() && bare.drinks[0].directions.isEmpty());
    // The most lines a drink may have, and texts of the greatest length, are taken.
    const QByteArray longest(library::kMaxDrinkText, 'x');
    const library::Library largest = library::parseLibraryJson(libraryJson(
        R"([{"name": "Air", "directions": ")" + longest + R"(", "lines": [)"
        + QByteArray(R"({"ingredient": "Gin"},)").repeated(library::kMaxDrinkLines - 1) + R"({"ingredient": "Gin"}]}])"));
    QCOMPARE(largest.drinks[0].lines.size(), library::kMaxDrinkLines);
    QCOMPARE(largest.drinks[0].directions.size(), library::kMaxDrinkText);

    // The line's ingredient in other case finds its ingredient in the written file.
    auto db = OpenDatabase(fixture::customLibrary(m_dir.path(), lib, QStringLiteral("parsed.mdb")));
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE DrinkID = 1 AND IngID = 2")), 1);
}

void TestEngineBuilder::writerRoundTrip()
{
    library::Library lib = library::syntheticLibrary(40, 2);
    lib.drinks[0].directions = QStringLiteral("Say \"when\".\nThen \\ stir;\ttab \x01 caf\u00e9 \u9152 \U0001F378");
    lib.drinks[1].comments = QString(QLatin1String(""));
    lib.drinks[2].lines.clear();
    lib.ingredients.append({QString(255, QLatin1Char('u')), true, true}); // the longest name and amount there can be
    lib.drinks[3].name = QString(255, QLatin1Char('n'));
    lib.drinks[3].lines[0].amount = QString(255, QLatin1Char('a'));
    const library::Library back = library::parseLibraryJson(library::libraryJson(lib));
    lib.drinks[0].directions.remove(QChar(1)); // the writer leaves out what the reader refuses
    QCOMPARE(back.ingredients.size(), lib.ingredients.size());
    for (qsizetype i = 0; i < lib.ingredients.size(); ++i) {
        QCOMPARE(back.ingredients[i].name, lib.ingredients[i].name);
        QCOMPARE(back.ingredients[i].common, lib.ingredients[i].common);
        QCOMPARE(back.ingredients[i].has, lib.ingredients[i].has);
    }
    QCOMPARE(back.drinks.size(), lib.drinks.size());
    for (qsizetype i = 0; i < lib.drinks.size(); ++i) {
        const library::Drink &a = lib.drinks[i], &b = back.drinks[i];
        QCOMPARE(b.name, a.name);
        QCOMPARE(b.directions, a.directions);
        QCOMPARE(b.comments, a.comments);
        QCOMPARE(b.comments.isNull(), a.comments.isNull());
        QCOMPARE(QList<bool>({b.tried, b.print, b.submitted}), QList<bool>({a.tried, a.print, a.submitted}));
        QCOMPARE(b.lines.size(), a.lines.size());
        for (qsizetype l = 0; l < a.lines.size(); ++l)
            QCOMPARE(b.lines[l].amount + QLatin1Char('|') + b.lines[l].ingredient, a.lines[l].amount + QLatin1Char('|') + a.lines[l].ingredient);
    }
}

void TestEngineBuilder::readMissingFile()
{
    QCOMPARE_ENGINE_ERROR(library::readLibraryJson(QDir(m_dir.path()).filePath(QStringLiteral("none.json"))), err::FileNotFound);
}

void TestEngineBuilder::syntheticShape()
{
    const library::Library lib = library::syntheticLibrary(1000, 7);
    QCOMPARE(lib.drinks.size(), 1000);
    QCOMPARE(lib.ingredients.size(), 2000);

    QSet<QString> ingredients;
    int common = 0, has = 0;
    for (const auto &i : lib.ingredients) {
        QVERIFY(!i.name.contains(QLatin1Char('"')));
        ingredients.insert(i.name.toLower());
        common += i.common;
        has += i.has;
    }
    QCOMPARE(ingredients.size(), 2000);
    QVERIFY(common > 0 && has > 0);

    QSet<QString> drinks;
    int lines = 0, tried = 0, print = 0, submitted = 0, withComments = 0;
    for (const auto &d : lib.drinks) {
        drinks.insert(d.name.toLower());
        QVERIFY2(d.lines.size() >= 3 && d.lines.size() <= 7, qPrintable(d.name));
        for (const auto &l : d.lines)
            QVERIFY2(ingredients.contains(l.ingredient.toLower()), qPrintable(l.ingredient));
        lines += int(d.lines.size());
        tried += d.tried;
        print += d.print;
        submitted += d.submitted;
        withComments += !d.comments.isNull();
    }
    QCOMPARE(drinks.size(), 1000);
    QVERIFY2(lines >= 4500 && lines <= 5500, qPrintable(QString::number(lines)));
    QVERIFY(tried > 0 && print > 0 && submitted > 0);
    QVERIFY(withComments > 0 && withComments < 1000);
}

void TestEngineBuilder::syntheticIsDeterministic()
{
    auto fingerprint = [](const library::Library &lib) {
        QStringList parts;
        for (const auto &i : lib.ingredients)
            parts << i.name + QString::number(i.common) + QString::number(i.has);
        for (const auto &d : lib.drinks) {
            parts << d.name << d.directions << d.comments.toString()
                  << QString::number(d.tried) + QString::number(d.print) + QString::number(d.submitted);
            for (const auto &l : d.lines)
                parts << l.amount + QLatin1Char('|') + l.ingredient;
        }
        return parts;
    };
    QCOMPARE(fingerprint(library::syntheticLibrary(200, 3)), fingerprint(library::syntheticLibrary(200, 3)));
    QVERIFY(fingerprint(library::syntheticLibrary(200, 3)) != fingerprint(library::syntheticLibrary(200, 4)));
}

void TestEngineBuilder::writeLayouts_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("hasField");
    QTest::newRow("current") << int(library::Layout::Current) << true;
    QTest::newRow("without Has") << int(library::Layout::WithoutHas) << false;
}

void TestEngineBuilder::writeLayouts()
{
    QFETCH(int, layout);
    QFETCH(bool, hasField);
    const library::Library lib = library::syntheticLibrary(300, 1);
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("layout%1.mdb").arg(layout));
    library::writeLibrary(path, lib, library::Layout(layout));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".building")));

    auto db = OpenDatabase(path);
    TableDef ingredients = db->TableDefs(QStringLiteral("Ingredients"));
    QCOMPARE_ENGINE_ERROR(ingredients.Fields(QStringLiteral("Has")), hasField ? 0 : err::ItemNotFound);
    QCOMPARE(count(*db, QStringLiteral("Drinks")), 300);
    QCOMPARE(count(*db, QStringLiteral("Ingredients")), 2000);
    int lines = 0, tried = 0;
    for (const auto &d : lib.drinks) {
        lines += int(d.lines.size());
        tried += d.tried;
    }
    QCOMPARE(count(*db, QStringLiteral("DrinkRel")), lines);
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE Tried <> 0")), tried);
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE IngID NOT IN (SELECT ID FROM Ingredients)")), 0);
    QCOMPARE(db->queryDefNames().size(), 11);
    if (hasField) {
        const auto has = std::count_if(lib.ingredients.begin(), lib.ingredients.end(), [](const auto &i) { return i.has; });
        QCOMPARE(count(*db, QStringLiteral("Ingredients WHERE Has <> 0")), int(has));
    }
}

void TestEngineBuilder::writeReplacesAndRefuses()
{
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("replaced.mdb"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older file");
    old.close();

    library::Library lib;
    lib.ingredients << library::Ingredient{QStringLiteral("Gin")};
    lib.drinks << enginetest::drink(QStringLiteral("Neat Gin"), {{QStringLiteral("2 Ounces"), QStringLiteral("Gin")}});
    library::writeLibrary(path, lib);
    QCOMPARE(count(*OpenDatabase(path), QStringLiteral("Drinks")), 1);

    // A line naming no ingredient of the library is refused, and the file in place stays.
    lib.drinks << enginetest::drink(QStringLiteral("Screwdriver"), {{QStringLiteral("2 Ounces"), QStringLiteral("Vodka")}});
    QCOMPARE_ENGINE_ERROR(library::writeLibrary(path, lib), err::UnrecognizedFormat);
    QCOMPARE(count(*OpenDatabase(path), QStringLiteral("Drinks")), 1);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".building")));

    lib.drinks.removeLast();
    lib.ingredients = QList<library::Ingredient>(32768, library::Ingredient{QStringLiteral("x")});
    QCOMPARE_ENGINE_ERROR(library::writeLibrary(path, lib), err::Overflow);
}

void TestEngineBuilder::starterSource()
{
    const library::Library &lib = fixture::starterContents();
    QVERIFY2(lib.drinks.size() >= 120, qPrintable(QString::number(lib.drinks.size())));
    for (const auto &d : lib.drinks) {
        QVERIFY2(!d.lines.isEmpty(), qPrintable(d.name));
        QVERIFY2(!d.directions.trimmed().isEmpty(), qPrintable(d.name));
    }
}

void TestEngineBuilder::starterFile()
{
    const library::Library &lib = fixture::starterContents();
    auto db = OpenDatabase(fixture::starterLibrary(m_dir.path()));
    QCOMPARE(count(*db, QStringLiteral("Drinks")), int(lib.drinks.size()));
    QCOMPARE(count(*db, QStringLiteral("Ingredients")), int(lib.ingredients.size()));
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE ID NOT IN (SELECT DrinkID FROM DrinkRel)")), 0);
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE IngID NOT IN (SELECT ID FROM Ingredients)")), 0);
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE Name LIKE '%\"%'")), 0);
    QCOMPARE(db->queryDefNames(),
             (QStringList{"CommentsSearch", "DescSearchByName", "DrinkLookup", "GetIngList", "GetMaxIngID", "HaveNotTried", "HaveTried",
                          "NameSearchByName", "Print", "ShowAllName", "SubmittedDrinks"}));
}

QTEST_GUILESS_MAIN(TestEngineBuilder)
#include "test_engine_builder.moc"
