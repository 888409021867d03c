// Names that forgive case and accents, what the shown drink lacks, the missing counts after a
// bar-list search, and the toolbar's search box; on a started program over the starter library
// with a few drinks of accented names added.

#include "browse/drink_list_model.h"
#include "app/quick_search_box.h"
#include "core/name_order.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Decomposed: "e" followed by a combining acute accent.
const QString kDecomposedBenedictine = QStringLiteral("Be\u0301ne\u0301dictine");

void addAccentedDrinks(StartedProgram &p)
{
    p.exec(fixture::kAccentedDrinksSql);
}

} // namespace

class TestForgivingSearch : public QObject {
    Q_OBJECT

private slots:
    void namesFollowOneRule_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order"); // compareNames(a, b)
        QTest::addColumn<bool>("sameSearch");
        QTest::newRow("ASCII case") << "Gin Fizz" << "GIN FIZZ" << 0 << true;
        QTest::newRow("accented case") << "Cachaça" << "CACHAÇA" << 0 << true;
        QTest::newRow("decomposed") << "Bénédictine" << kDecomposedBenedictine << 0 << true;
        QTest::newRow("accent differs") << "Rosé" << "Rose" << 1 << true;
        QTest::newRow("spelled-out letters") << "Smørrebrød" << "smorrebrod" << 1 << true;
        QTest::newRow("and before old") << "Rum and Tonic" << "Rum Old Fashioned" << -1 << false;
        QTest::newRow("prefix") << "Rum" << "Rum Punch" << -1 << false;
    }

    void namesFollowOneRule()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QFETCH(bool, sameSearch);
        QCOMPARE(compareNames(a, b), order);
        QCOMPARE(compareNames(b, a), -order);
        QCOMPARE(searchKey(a) == searchKey(b), sameSearch);
    }

    void lookupsAndUniquenessFollowTheRule()
    {
        StartedProgram p;
        addAccentedDrinks(p);
        CDatabase &db = p.db();
        QVERIFY(db.DoesDrinkExist(QStringLiteral("CARRÈ ROYALE")));
        QVERIFY(!db.DoesDrinkExist(QStringLiteral("Carre Royale"))); // an accent makes another name
        QVERIFY(db.DoesIngredientExist(kDecomposedBenedictine));
        QVERIFY(db.DoesIngredientExist(QStringLiteral("CACHAÇA")));
        QCOMPARE(int(db.GetIngID(QStringLiteral("CRÈME DE MÛRE"))), 901);
    }

    void shownDrinkTellsWhatIsMissing()
    {
        StartedProgram p;
        addAccentedDrinks(p);
        p.exec(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (903, 'Lime', 0, 1), (904, 'Ice cubes', 1, 0);"
                              "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (901, 903, '1'), (901, 904, ''), (901, 900, '1 Dash');"));
        frmMain &f = p.form();
        p.db().ShowDrinkInfo(QStringLiteral("Caipirinha Nova"));
        QCOMPARE(f.lblMissing->text(), QStringLiteral("Missing: Cachaça"));
        QList<bool> marked;
        for (int i = 0; i < f.lvIngredients->topLevelItemCount(); ++i)
            marked << !f.lvIngredients->topLevelItem(i)->toolTip(0).isEmpty();
        QCOMPARE(marked, QList<bool>({true, false, false, true}));

        p.exec(QStringLiteral("UPDATE Ingredients SET Has = 1 WHERE ID = 900"));
        p.db().ShowDrinkInfo(QStringLiteral("Caipirinha Nova"));
        QCOMPARE(f.lblMissing->text(), QStringLiteral("You have everything for this drink."));

        p.exec(QStringLiteral("UPDATE Ingredients SET Has = 0"));
        p.db().ShowDrinkInfo(QStringLiteral("Caipirinha Nova"));
        QVERIFY(f.lblMissing->isHidden()); // an empty bar list marks nothing
    }

    void barListSearchShowsMissingCounts()
    {
        StartedProgram p;
        addAccentedDrinks(p);
        p.exec(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (903, 'Lime', 0, 1);"
                              "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (900, 903, '1'), (901, 903, '1'), (902, 903, '1');"));
        frmMain &f = p.form();
        p.db().BarList(1);
        QCOMPARE(p.listedNames(), QStringList({"Caipirinha Nova", "Carrè Royale", "Kir Mûre Fizz"}));
        QVERIFY(!f.lvDrinks->isHeaderHidden());
        QCOMPARE(f.lvDrinks->model()->data(f.lvDrinks->model()->index(0, 1)).toInt(), 1);
        // The user can make Kir Mûre Fizz once the crème de mûre is at hand: sorting by the count puts it first.
        p.exec(QStringLiteral("UPDATE Ingredients SET Has = 1 WHERE ID = 901"));
        p.db().ShowDrinkInfo(QStringLiteral("Kir Mûre Fizz"));
        f.lvDrinks->header()->setSortIndicator(1, Qt::AscendingOrder);
        QCOMPARE(p.listedNames(), QStringList({"Kir Mûre Fizz", "Caipirinha Nova", "Carrè Royale"}));
        // Deleting the first keeps each count beside its drink: the last, not shown, still lacks nothing.
        f.lvDrinks->header()->setSortIndicator(1, Qt::DescendingOrder);
        f.selectDrinkAt(0);
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(f, QStringLiteral("actDeleteDrink"));
        QCOMPARE(p.listedNames().last(), QStringLiteral("Kir Mûre Fizz"));
        QCOMPARE(f.lvDrinks->model()->data(f.lvDrinks->model()->index(1, 1)).toInt(), 0);

        p.db().Search(1, QStringLiteral("*a*"), true);
        QVERIFY(!f.lvDrinks->showsMissing());
    }

    void searchBoxListsAsTheUserTypes()
    {
        StartedProgram p;
        addAccentedDrinks(p);
        frmMain &f = p.form();
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(f.txtQuickSearch->hasFocus());
        QTest::keyClicks(f.txtQuickSearch, QStringLiteral("RRE ROY"));
        QCOMPARE(p.listedNames(), QStringList{"Carrè Royale"});
        QCOMPARE(f.pnlDrinkName->text(), QStringLiteral("Carrè Royale"));
        QTest::keyClick(f.txtQuickSearch, Qt::Key_Return);
        QCOMPARE(menuCaption(f.menuItem(QStringLiteral("mnuSearchResults"), 0)), QStringLiteral("Name: (*RRE ROY*)"));

        QTest::keyClicks(f.txtQuickSearch, QStringLiteral("xq"));
        QCOMPARE(p.listedNames(), QStringList()); // the list holds what matches: nothing
        QCOMPARE(f.lblCurrentSet->text(), QStringLiteral("Current Set Contains 0 Drinks"));
        QCOMPARE(f.pnlDrinkName->text(), QString());
        QVERIFY(!f.command(QStringLiteral("actEditDrink"))->isEnabled());
        QVERIFY(f.txtQuickSearch->showsNoMatch());
        QVERIFY(p.boxes().messages().isEmpty());

        QTest::keyClick(f.txtQuickSearch, Qt::Key_Escape);
        QVERIFY(f.txtQuickSearch->text().isEmpty());
        QVERIFY(!f.txtQuickSearch->showsNoMatch());
        QCOMPARE(QString::number(p.listedNames().size()), p.db().DrinkCount());
        for (const QString typed : {"rr_", "rr%y"}) { // LIKE's wildcards stand for themselves
            QTest::keyClicks(f.txtQuickSearch, typed);
            QVERIFY2(f.txtQuickSearch->showsNoMatch(), qPrintable(typed));
            QTest::keyClick(f.txtQuickSearch, Qt::Key_Escape);
        }

        // Any other search leaves the box empty: it no longer tells what the list holds.
        QTest::keyClicks(f.txtQuickSearch, QStringLiteral("fizz"));
        p.db().ShowAllDrinks();
        QVERIFY(f.txtQuickSearch->text().isEmpty());
    }
};

QTEST_MAIN(TestForgivingSearch)
#include "test_forgiving_search.moc"
