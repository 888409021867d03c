// The searches themselves, without a window: DrinkSearch on a fresh copy of the starter library,
// with a few drinks of accented names where a test adds them. What each search finds and in which
// order, the ingredient search's SQL, the bar list's missing counts and the search box's patterns.

#include "search/drink_search.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
using fixture::namesWhere;

// Decomposed: "e" followed by a combining acute accent.
const QString kDecomposedBenedictine = QStringLiteral("Be\u0301ne\u0301dictine");


bool contains(const QString &text, const char *needle)
{
    return text.contains(QLatin1String(needle), Qt::CaseInsensitive);
}

} // namespace

class TestDrinkSearch : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<engine::Database> m_db;

    void exec(const QString &sql)
    {
        QCOMPARE(sqlite3_exec(m_db->handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }

    DrinkSearch search() { return DrinkSearch(*m_db); }

private slots:
    void addAccentedDrinks()
    {
        exec(fixture::kAccentedDrinksSql);
    }

private slots:
    void init() { m_db = engine::OpenDatabase(fixture::starterLibrary(m_dir.path())); }
    void cleanup() { m_db.reset(); }

    void patternSearchesFindWhatTheyPromise_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name contains") << 1 << "*gin*"
                                       << namesWhere([](const library::Drink &d) { return contains(d.name, "gin"); });
        QTest::newRow("name begins") << 1 << "Ma*" << namesWhere([](const library::Drink &d) {
            return d.name.startsWith(QLatin1String("ma"), Qt::CaseInsensitive);
        });
        QTest::newRow("name ends") << 1 << "*sour" << namesWhere([](const library::Drink &d) {
            return d.name.endsWith(QLatin1String("sour"), Qt::CaseInsensitive);
        });
        QTest::newRow("exact name, other case") << 1 << "MOJITO" << namesWhere([](const library::Drink &d) {
            return d.name.compare(QLatin1String("mojito"), Qt::CaseInsensitive) == 0;
        });
        QTest::newRow("directions") << 3 << "*muddle*"
                                    << namesWhere([](const library::Drink &d) { return contains(d.directions, "muddle"); });
        QTest::newRow("NUL in a name") << 1 << QStringLiteral("MOJ") + QChar(0) + QStringLiteral("ITO")
                                       << namesWhere([](const library::Drink &d) { return d.name == QLatin1String("Mojito"); });
        QTest::newRow("C1 and DEL in directions") << 3 << "*mud\u0085dle\x7f*"
                                                  << namesWhere([](const library::Drink &d) { return contains(d.directions, "muddle"); });
        QTest::newRow("comments") << 4 << "*classic*" << namesWhere([](const library::Drink &d) {
            return !d.comments.isNull() && contains(d.comments.toString(), "classic");
        });
        QTest::newRow("submitted") << 7 << "" << namesWhere([](const library::Drink &d) { return d.submitted; });
        QTest::newRow("not tried") << 6 << "" << namesWhere([](const library::Drink &d) { return !d.tried; });
    }

    void patternSearchesFindWhatTheyPromise()
    {
        QFETCH(int, type);
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        QVERIFY(!expected.isEmpty());
        const SearchResult found = search().byType(qint16(type), pattern);
        QCOMPARE(found.names, expected);
        QVERIFY(found.missing.isEmpty() && found.select.isEmpty());
    }

    void searchesIgnoreCaseAndAccents_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name, ends with") << 1 << "*RÈ ROYALE" << QStringList{"Carrè Royale"};
        QTest::newRow("name, no accent typed") << 1 << "*carre*" << QStringList{"Carrè Royale", "Vieux Carre"};
        QTest::newRow("name, whole") << 1 << "carre royale" << QStringList{"Carrè Royale"};
        QTest::newRow("name, accent either way") << 1 << "vieux carrè" << QStringList{"Vieux Carre"};
        QTest::newRow("ingredient, upper case") << 2 << "CACHAÇA" << QStringList{"Caipirinha Nova"};
        QTest::newRow("ingredient, no accents") << 2 << "creme de mure" << QStringList{"Kir Mûre Fizz"};
        QTest::newRow("ingredient, decomposed") << 2 << kDecomposedBenedictine << QStringList{"Carrè Royale"};
        QTest::newRow("directions") << 3 << "*CAFE GLASS*" << QStringList{"Carrè Royale"};
        QTest::newRow("comments") << 4 << "tres*" << QStringList{"Carrè Royale"};
    }

    void searchesIgnoreCaseAndAccents()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        addAccentedDrinks();
        QCOMPARE(search().byType(qint16(type), text).names, found);
    }

    void ingredientSearchBuildsOneSubSelectPerName()
    {
        const qint16 gin = CDatabase::GetIngID(*m_db, QStringLiteral("Gin"));
        const qint16 tonic = CDatabase::GetIngID(*m_db, QStringLiteral("Tonic water"));
        QVERIFY(gin > 0 && tonic > 0);
        DrinkSearch drinks = search();
        QStringList listed = drinks.byIngredients(QStringLiteral("Gin,Tonic water")).names;
        QCOMPARE(drinks.lastIngredientSql(),
                 QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel "
                                "WHERE Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID "
                                "AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %1)"
                                "AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %2);")
                     .arg(gin)
                     .arg(tonic));
        QStringList expected;
        for (const library::Drink &d : fixture::starterContents().drinks) {
            bool hasGin = false, hasTonic = false;
            for (const library::Line &l : d.lines) {
                hasGin |= l.ingredient == QLatin1String("Gin");
                hasTonic |= l.ingredient == QLatin1String("Tonic water");
            }
            if (hasGin && hasTonic)
                expected << d.name;
        }
        QVERIFY(!expected.isEmpty());
        listed.sort();
        expected.sort();
        QCOMPARE(listed, expected);
    }

    void ingredientNamesWithCommas_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("names"); // searched for, in order; "" for a piece that names nothing
        QTest::newRow("tab after a name") << "Gin\t" << QStringList{"Gin"};
        QTest::newRow("first piece a name too") << "Salt, coarse" << QStringList{"Salt, coarse"};
        QTest::newRow("among others") << "Gin,Lime,juice,Salt, coarse" << QStringList{"Gin", "Lime,juice", "Salt, coarse"};
        QTest::newRow("names stay apart") << "Gin,Tonic water" << QStringList{"Gin", "Tonic water"};
        QTest::newRow("unknown stays unknown") << "Lime,Unicorn,tears" << QStringList{"Lime", "", ""};
    }

    void ingredientNamesWithCommas()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, names);
        exec(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient) VALUES (901, 'Salt, coarse'), (902, 'Lime,juice'), "
                            "(903, 'Gin,Tonic water')"));
        QString sql = QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel "
                                     "WHERE Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID ");
        for (const QString &name : names)
            sql += QStringLiteral("AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %1)")
                       .arg(name.isEmpty() ? 0 : CDatabase::GetIngID(*m_db, name));
        DrinkSearch drinks = search();
        drinks.byIngredients(list);
        QCOMPARE(drinks.lastIngredientSql(), sql + QLatin1Char(';'));
    }

    void barListGivesKeyOrderAndMissingCounts()
    {
        addAccentedDrinks();
        exec(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (903, 'Lime', 0, 1);"
                            "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (900, 903, '1'), (901, 903, '1'), (902, 903, '1');"));
        SearchResult found = search().barList(1);
        QCOMPARE(found.names, QStringList({"Carrè Royale", "Caipirinha Nova", "Kir Mûre Fizz"}));
        QCOMPARE(found.missing, QList<int>({1, 1, 1}));
        QVERIFY(found.select.isEmpty()); // the list selects its top row
        QVERIFY(search().barList(0).isEmpty());
        exec(QStringLiteral("UPDATE Ingredients SET Has = 1 WHERE ID = 901"));
        found = search().barList(0);
        QCOMPARE(found.names, QStringList{"Kir Mûre Fizz"});
        QCOMPARE(found.missing, QList<int>{0});
    }

    void quickSearchTakesOnlyStarAsWildcard_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("star") << "rr*yale" << QStringList{"Carrè Royale"};
        QTest::newRow("backslash") << "rr\\" << QStringList();
        QTest::newRow("control characters dropped") << "Kir\u0001 M" << QStringList{"Kir Mûre Fizz"};
    }

    void quickSearchTakesOnlyStarAsWildcard()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        addAccentedDrinks();
        QCOMPARE(search().quick(typed).names, found);
        QCOMPARE(search().quick(QString()).names, search().allDrinks().names);
    }
};

QTEST_GUILESS_MAIN(TestDrinkSearch)
#include "test_drink_search.moc"
