// What to buy next on a started program: hand-worked rankings read from small libraries, and the
// dialog as the menu opens it (counts, drinks under a row, Add to Bar List, nothing left to buy).

#include "common/CZestro30.h"
#include "common/program_objects.h"
#include "search/buy_next.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Replaces the library. Ingredients "Gin+" (on the bar list), "Ice*" (common), "Lime"; drinks
// "Name: ingredient, ingredient"; a line naming no listed ingredient points at a missing row, and a
// drink named "~..." has lines but no row.
void makeLibrary(StartedProgram &p, const QString &ingredients, const QStringList &drinks)
{
    QString sql = QStringLiteral("DELETE FROM DrinkRel; DELETE FROM Drinks; DELETE FROM Ingredients;");
    QStringList names;
    for (QString name : ingredients.split(QStringLiteral(", "))) {
        const bool has = name.endsWith(u'+'), common = name.endsWith(u'*');
        name.chop(has || common ? 1 : 0);
        names << name;
        sql += QStringLiteral("INSERT INTO Ingredients VALUES (%1, '%2', %3, %4);").arg(names.size()).arg(name).arg(common).arg(has);
    }
    for (int id = 1; id <= drinks.size(); ++id) {
        const QStringList parts = drinks[id - 1].split(QStringLiteral(": "));
        if (!parts[0].startsWith(u'~'))
            sql += QStringLiteral("INSERT INTO Drinks (ID, Name) VALUES (%1, '%2');").arg(id).arg(parts[0]);
        for (const QString &line : parts[1].split(QStringLiteral(", ")))
            sql += QStringLiteral("INSERT INTO DrinkRel VALUES (%1, %2, '1 oz');").arg(id).arg(names.contains(line) ? names.indexOf(line) + 1 : 99);
    }
    p.exec(sql);
    p.db().ShowAllDrinks();
}

// "Ingredient: none-missing drinks | slack drinks", most useful first.
QStringList ranking(CDatabase &db, int slack)
{
    const buynext::Library library = buynext::readLibrary(db.database());
    QStringList rows;
    for (const buynext::Choice &choice : buynext::rankChoices(library, slack)) {
        QStringList none, withSlack;
        for (const buynext::Unlocked &drink : buynext::unlockedDrinks(library, choice)) {
            if (drink.noneMissing)
                none << drink.name;
            if (drink.withSlack)
                withSlack << drink.name;
        }
        rows << choice.ingredient + QStringLiteral(": ") + none.join(QStringLiteral(", ")) + QStringLiteral(" | ")
                    + withSlack.join(QStringLiteral(", "));
    }
    return rows;
}

QStringList texts(const QTreeWidgetItem *parent, int column)
{
    QStringList result;
    for (int i = 0; i < parent->childCount(); ++i)
        result << parent->child(i)->text(column);
    return result;
}

const QString kBar = QStringLiteral("Gin+, Lime, Mint, Sugar, Ice*");
const QStringList kDrinks{QStringLiteral("Gimlet: Gin, Lime"), QStringLiteral("Mojito: Gin, Lime, Mint"),
                          QStringLiteral("Sugar Lime: Sugar, Lime"), QStringLiteral("Iced Mint: Ice, Mint"),
                          QStringLiteral("Gin Ice: Gin, Ice")};

} // namespace

class TestBuyNext : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_program = std::make_unique<StartedProgram>(); }
    void cleanupTestCase() { m_program.reset(); }

    void ranksByDrinksUnlocked_data()
    {
        QTest::addColumn<QString>("ingredients");
        QTest::addColumn<QStringList>("drinks");
        QTest::addColumn<int>("slack");
        QTest::addColumn<QStringList>("expected");
        // Gimlet and Iced Mint lack one ingredient; Mojito and Sugar Lime two; Gin Ice none.
        QTest::newRow("slack 1") << kBar << kDrinks << 1
                                 << QStringList{"Lime: Gimlet | Mojito, Sugar Lime", "Mint: Iced Mint | Mojito",
                                                "Sugar:  | Sugar Lime"};
        QTest::newRow("slack 0: one count") << kBar << kDrinks << 0 << QStringList{"Lime: Gimlet | ", "Mint: Iced Mint | "};
        QTest::newRow("slack 2: a drink lacking two is within already")
            << kBar << kDrinks << 2 << QStringList{"Lime: Gimlet | Sugar Lime", "Mint: Iced Mint | ", "Sugar:  | Sugar Lime"};
        QTest::newRow("ties by name, case folded")
            << "Gin+, Brandy, apricot, Cherry" << QStringList{"A: Gin, Brandy", "B: Gin, apricot", "C: Gin, Cherry"} << 0
            << QStringList{"apricot: B | ", "Brandy: A | ", "Cherry: C | "};
        QTest::newRow("the same ingredient twice counts in both")
            << "Gin+, Lime" << QStringList{"Double Lime: Lime, Lime", "Gin Lime Lime: Gin, Lime, Lime"} << 1
            << QStringList{"Lime: Double Lime, Gin Lime Lime | Double Lime, Gin Lime Lime"};
        QTest::newRow("a line whose ingredient is gone is left out")
            << "Gin+, Lime" << QStringList{"Ghost: Gin, Lime, Vanished", "Only ghost: Vanished"} << 0 << QStringList{"Lime: Ghost | "};
        QTest::newRow("a drink without a row counts for nothing")
            << "Gin+, Lime" << QStringList{"~Gone: Gin, Lime", "Kept: Lime"} << 0 << QStringList{"Lime: Kept | "};
        QTest::newRow("everything makeable") << "Gin+, Ice*" << QStringList{"A: Gin, Ice"} << 1 << QStringList();
    }
    void ranksByDrinksUnlocked()
    {
        QFETCH(QString, ingredients);
        QFETCH(QStringList, drinks);
        QFETCH(int, slack);
        QFETCH(QStringList, expected);
        makeLibrary(*m_program, ingredients, drinks);
        QCOMPARE(ranking(m_program->db(), slack), expected);
    }

    void slackSetting_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("0") << "0" << QStringList{"Ingredient", "Drinks with none missing"};
        QTest::newRow("2") << " 2 " << QStringList{"Ingredient", "Drinks with none missing", "Drinks with 2 missing"};
        QTest::newRow("not a number") << "two" << QStringList{"Ingredient", "Drinks with none missing", "Drinks with 1 missing"};
        QTest::newRow("negative") << "-1" << QStringList{"Ingredient", "Drinks with none missing", "Drinks with 1 missing"};
    }
    // The menu item opens the dialog; its columns follow the bar list's slack setting.
    void slackSetting()
    {
        QFETCH(QString, setting);
        QFETCH(QStringList, headers);
        makeLibrary(*m_program, kBar, kDrinks);
        program().settings->setBarListSlack(setting);
        QStringList shown;
        ModalScript script([&](QDialog &dialog) {
            const QTreeWidgetItem *header = dialog.findChild<QTreeWidget *>(QStringLiteral("lvBuyNext"))->headerItem();
            for (int i = 0; i < header->columnCount(); ++i)
                shown << header->text(i);
            return 0;
        });
        m_program->form().findChild<QAction *>(QStringLiteral("mnuBarlist(50)"))->trigger();
        program().settings->setBarListSlack(1);
        QCOMPARE(script.shown, QStringList{"frmBuyNext"});
        QCOMPARE(shown, headers);
    }

    // Opening rows, adding the top ingredient twice until nothing is left to buy.
    void addToBarList()
    {
        makeLibrary(*m_program, QStringLiteral("Gin+, Lime, Mint"), {"Gimlet: Gin, Lime", "Mint Lime: Mint, Lime", "Mint Gin: Gin, Mint"});
        const auto use = [&](QDialog &dialog) {
            auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("lvBuyNext"));
            auto *add = dialog.findChild<QPushButton *>(QStringLiteral("cmdAddToBarList"));
            QTreeWidgetItem *top = list->topLevelItem(0);
            top->setExpanded(true);
            // Lime and Mint tie at 1 and 1; Lime's name comes first.
            QCOMPARE(QStringList({top->text(0), top->text(1), top->text(2)}), QStringList({"Lime", "1", "1"}));
            QCOMPARE(texts(top, 0), QStringList({"Gimlet", "Mint Lime"}));
            QCOMPARE(texts(top, 1), QStringList({"\u2022", ""}));
            QCOMPARE(texts(top, 2), QStringList({"", "\u2022"}));
            list->setCurrentItem(top->child(0));
            QVERIFY(!add->isEnabled()); // a drink row is not an ingredient
            list->setCurrentItem(top);
            add->click();
            QCOMPARE(m_program->rows(QStringLiteral("SELECT Ingredient FROM Ingredients WHERE Has <> 0")), QStringList({"Gin", "Lime"}));
            QCOMPARE(list->topLevelItemCount(), 1);
            QCOMPARE(list->currentItem()->text(0), QStringLiteral("Mint"));
            QCOMPARE(list->currentItem()->text(1), QStringLiteral("2"));
            add->click();
            QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("lblNothing"))->isVisibleTo(&dialog));
            QVERIFY(!add->isEnabled());
            dialog.findChild<QPushButton *>(QStringLiteral("cmdClose"))->click();
        };
        ModalScript script([&](QDialog &dialog) {
            use(dialog);
            return dialog.result();
        });
        m_program->form().findChild<QAction *>(QStringLiteral("mnuBarlist(50)"))->trigger();
        QCOMPARE(script.shown, QStringList{"frmBuyNext"});
        QCOMPARE(m_program->rows(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Has <> 0")), QStringList{"3"});
        QCOMPARE(m_program->boxes().texts(), QStringList());
    }

private:
    std::unique_ptr<StartedProgram> m_program;
};

QTEST_MAIN(TestBuyNext)
#include "test_buy_next.moc"
