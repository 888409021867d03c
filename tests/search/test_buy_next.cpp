// What to buy next: hand-worked rankings of small libraries, and the dialog as the menu opens it.

#include "common/CZestro30.h"
#include "common/program_objects.h"
#include "search/buy_next.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Replaces the library: ingredients "Gin+" (on the bar list), "Ice*" (common), "Lime"; drinks "Name: Gin, Lime".
// A line naming no listed ingredient points at a missing row; a drink "~Name" has lines but no row.
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
        rows << choice.ingredient + ": " + none.join(", ") + " | " + withSlack.join(", ");
    }
    return rows;
}

// The texts of a row (or of the header), "|" between the columns.
QString row(const QTreeWidgetItem *item)
{
    QStringList columns;
    for (int i = 0; i < item->columnCount(); ++i)
        columns << item->text(i);
    return columns.join(u'|');
}

const QString kBar = QStringLiteral("Gin+, Lime, Mint, Sugar, Ice*");
const QStringList kDrinks{"Gimlet: Gin, Lime", "Mojito: Gin, Lime, Mint", "Sugar Lime: Sugar, Lime", "Iced Mint: Ice, Mint",
                          "Gin Ice: Gin, Ice"};

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
                                 << QStringList{"Lime: Gimlet | Mojito, Sugar Lime", "Mint: Iced Mint | Mojito", "Sugar:  | Sugar Lime"};
        QTest::newRow("slack 0: one count") << kBar << kDrinks << 0 << QStringList{"Lime: Gimlet | ", "Mint: Iced Mint | "};
        QTest::newRow("slack 2: a drink lacking two is within already")
            << kBar << kDrinks << 2 << QStringList{"Lime: Gimlet | Sugar Lime", "Mint: Iced Mint | ", "Sugar:  | Sugar Lime"};
        QTest::newRow("ties by name, case folded") << "Gin+, Brandy, apricot, Cherry" << QStringList{"A: Brandy", "B: apricot", "C: Cherry"}
                                                   << 0 << QStringList{"apricot: B | ", "Brandy: A | ", "Cherry: C | "};
        QTest::newRow("the same ingredient twice counts in both")
            << "Gin+, Lime" << QStringList{"Double Lime: Lime, Lime", "Gin Lime Lime: Gin, Lime, Lime"} << 1
            << QStringList{"Lime: Double Lime, Gin Lime Lime | Double Lime, Gin Lime Lime"};
        QTest::newRow("a line whose ingredient is gone is left out")
            << "Gin+, Lime" << QStringList{"Ghost: Gin, Lime, Vanished", "Only ghost: Vanished"} << 0 << QStringList{"Lime: Ghost | "};
        QTest::newRow("a drink without a row counts for nothing")
            << "Gin+, Lime" << QStringList{"~Gone: Gin, Lime", "Kept: Lime"} << 0 << QStringList{"Lime: Kept | "};
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
        QTest::addColumn<QString>("headers");
        QTest::newRow("0: one count") << "0" << "Ingredient|Drinks with none missing";
        QTest::newRow("2") << " 2 " << "Ingredient|Drinks with none missing|Drinks with 2 missing";
        QTest::newRow("not a number") << "two" << "Ingredient|Drinks with none missing|Drinks with 1 missing";
        QTest::newRow("negative") << "-1" << "Ingredient|Drinks with none missing|Drinks with 1 missing";
    }
    // The menu item opens the dialog; its columns follow the bar list's slack setting.
    void slackSetting()
    {
        QFETCH(QString, setting);
        QFETCH(QString, headers);
        program().settings->setBarListSlack(setting);
        QString shown;
        ModalScript script([&](QDialog &d) { shown = row(d.findChild<QTreeWidget *>("lvBuyNext")->headerItem()); return 0; });
        m_program->form().findChild<QAction *>(QStringLiteral("mnuBarlist(50)"))->trigger();
        program().settings->setBarListSlack(1);
        QCOMPARE(script.shown, QStringList{"frmBuyNext"});
        QCOMPARE(shown, headers);
    }
    // Opening rows, adding the top ingredient twice until nothing is left to buy.
    void addToBarList()
    {
        makeLibrary(*m_program, QStringLiteral("Gin+, Lime, Mint"), {"Gimlet: Gin, Lime", "Mint Lime: Mint, Lime", "Mint Gin: Gin, Mint"});
        QStringList seen;
        ModalScript script([&](QDialog &dialog) {
            auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("lvBuyNext"));
            auto *add = dialog.findChild<QPushButton *>(QStringLiteral("cmdAddToBarList"));
            QTreeWidgetItem *top = list->topLevelItem(0);
            top->setExpanded(true);
            list->setCurrentItem(top->child(0)); // a drink row is not an ingredient
            seen << row(top) << row(top->child(0)) << row(top->child(1)) << QString::number(add->isEnabled());
            list->setCurrentItem(top);
            add->click();
            seen << m_program->rows("SELECT Ingredient FROM Ingredients WHERE Has <> 0").join(u',') << row(list->currentItem())
                 << QString::number(list->topLevelItemCount());
            add->click();
            seen << QString::number(dialog.findChild<QLabel *>(QStringLiteral("lblNothing"))->isVisibleTo(&dialog))
                 << QString::number(add->isEnabled());
            dialog.findChild<QPushButton *>(QStringLiteral("cmdClose"))->click();
            return dialog.result();
        });
        m_program->form().findChild<QAction *>(QStringLiteral("mnuBarlist(50)"))->trigger();
        // Lime and Mint tie at 1 and 1: Lime's name comes first. Then Mint alone; then nothing.
        QCOMPARE(seen, QStringList({"Lime|1|1", "Gimlet|\u2022|", "Mint Lime||\u2022", "0", "Gin,Lime", "Mint|2|0", "1", "1", "0"}));
        QCOMPARE(m_program->rows(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Has <> 0")), QStringList{"3"});
        QCOMPARE(m_program->boxes().texts(), QStringList());
    }

    // Every change of the bar list shows at once in every count of the list and in the shown
    // drink's marks, and so does its undo.
    void barListChangesRefreshEveryCount_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("What to Buy Next") << "actBuyNext";
        QTest::newRow("My Bar") << "actMyBar";
    }
    void barListChangesRefreshEveryCount()
    {
        QFETCH(QString, command);
        StartedProgram &p = *m_program;
        makeLibrary(p, QStringLiteral("Gin+, Lime, Tonic+, Mint"),
                    {"Gin and Tonic: Gin, Tonic, Lime", "Gin Rickey: Gin, Lime", "Lime Rickey: Lime, Tonic", "Gin Mint: Gin, Mint"});
        p.db().BarList(1);
        const auto counts = [&] {
            QStringList rows;
            const QAbstractItemModel *model = p.form().lvDrinks->model();
            for (int row = 0; row < model->rowCount(); ++row)
                rows << model->index(row, 0).data().toString() + '|' + model->index(row, 1).data().toString();
            return rows << p.form().lblMissing->text();
        };
        const QStringList before{"Gin and Tonic|1", "Gin Mint|1", "Gin Rickey|1", "Lime Rickey|1", "Missing: Lime"};
        QCOMPARE(counts(), before);
        ModalScript script([&](QDialog &dialog) {
            if (auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("lvBuyNext"))) {
                list->setCurrentItem(list->topLevelItem(0)); // Lime: three drinks
                dialog.findChild<QPushButton *>(QStringLiteral("cmdAddToBarList"))->click();
                dialog.reject();
            } else {
                QAbstractItemModel *bar = dialog.findChild<QListView *>(QStringLiteral("lstIngredients"))->model();
                for (int row = 0; row < bar->rowCount(); ++row)
                    if (bar->index(row, 0).data().toString() == QLatin1String("Lime"))
                        bar->setData(bar->index(row, 0), Qt::Checked, Qt::CheckStateRole);
                dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
            }
            return dialog.result();
        });
        triggerCommand(p.form(), command);
        QCOMPARE(p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients WHERE Has <> 0 ORDER BY ID")), QStringList({"Gin", "Lime", "Tonic"}));
        QCOMPARE(counts(), QStringList({"Gin and Tonic|0", "Gin Mint|1", "Gin Rickey|0", "Lime Rickey|0", "You have everything for this drink."}));
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(counts(), before);
    }

private:
    std::unique_ptr<StartedProgram> m_program;
};

QTEST_MAIN(TestBuyNext)
#include "test_buy_next.moc"
