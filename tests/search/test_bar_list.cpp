// Bar-list matching on a started program: the found drinks against an independent count in SQL,
// the judging rule's edges, the list, label, selection and timing it leaves, the state after an
// engine error; the flag lookups and the ingredient pickers.

#include "common/CZestro30.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmStatus.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>
#include <sqlite3.h>

namespace {

// Drinks in key order; the first one sorts last by name.
library::Library edgeLibrary()
{
    library::Library lib;
    lib.ingredients = {{QStringLiteral("Gin"), false, true},   {QStringLiteral("Tonic water"), false, true},
                       {QStringLiteral("Ice"), true, false},   {QStringLiteral("Lime"), false, false},
                       {QStringLiteral("Mint"), false, false}, {QStringLiteral("Rum "), false, false},
                       {QStringLiteral("Both flags"), true, true}};
    auto drink = [](const char *name, QStringList ingredients) {
        library::Drink d;
        d.name = QString::fromUtf8(name);
        for (const QString &i : ingredients)
            d.lines.append({QStringLiteral("1 Ounce"), i});
        d.directions = QStringLiteral("Stir.");
        return d;
    };
    lib.drinks = {drink("Zed Highball", {"Gin", "Tonic water"}), drink("Gimlet", {"Gin", "Lime"}),
                  drink("Iced Water", {"Ice"}),                  drink("Nothing Here", {"Lime", "Mint"}),
                  drink("Double Lime", {"Gin", "Lime", "Lime"}), drink("Alpha Last", {"Gin", "Ice"})};
    return lib;
}

// Opens a fresh copy of the library file `source` in the started program, all drinks listed.
void useLibrary(StartedProgram &p, const QString &source, const QString &folder)
{
    p.db().DbClose();
    const QString path = folder + QStringLiteral("/work.mdb");
    QFile::remove(path);
    QVERIFY(QFile::copy(source, path));
    p.db().setFileName(path);
    p.db().DbOpen();
    p.form().lvDrinks->setSortingEnabled(false);
    p.db().ShowAllDrinks();
    p.boxes().clear();
}

void exec(CDatabase &db, const char *sql)
{
    QCOMPARE(sqlite3_exec(db.database().handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK);
}

// The same rule in one grouped query, drinks in key order.
QStringList namesBySql(CDatabase &db, int slack)
{
    auto rs = db.database().OpenRecordset(
        QStringLiteral("SELECT Drinks.Name AS Name FROM Drinks JOIN (SELECT DrinkID, sum(Has OR Common) AS avail, "
                       "count(*) AS total FROM DrinkRel JOIN Ingredients ON Ingredients.ID = DrinkRel.IngID "
                       "GROUP BY DrinkID HAVING avail >= total - %1 AND avail > 0) AS found ON found.DrinkID = Drinks.ID "
                       "ORDER BY Drinks.ID")
            .arg(slack));
    QStringList names;
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->value(QStringLiteral("Name")).toString();
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList column(QTreeWidget *view, int col)
{
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        texts << view->topLevelItem(i)->text(col);
    return texts;
}

} // namespace

class TestBarList : public QObject {
    Q_OBJECT

private slots:
    // One program for every case: starting one costs far more than opening a library.
    void initTestCase()
    {
        m_program = std::make_unique<StartedProgram>();
        m_synthetic = fixture::syntheticLibrary(m_templates.path(), 1000);
        m_edge = fixture::customLibrary(m_templates.path(), edgeLibrary());
    }
    void cleanupTestCase() { m_program.reset(); }
    void cleanup() { setClock({}); }

    void matchesTheRuleCountedInSql_data()
    {
        QTest::addColumn<int>("slack");
        QTest::addColumn<bool>("emptyBar");
        QTest::newRow("slack 0") << 0 << false;
        QTest::newRow("slack 1") << 1 << false;
        QTest::newRow("slack 2") << 2 << false;
        QTest::newRow("slack 3") << 3 << false;
        QTest::newRow("empty bar list, slack 0") << 0 << true;
        QTest::newRow("empty bar list, slack 2") << 2 << true;
    }

    void matchesTheRuleCountedInSql()
    {
        QFETCH(int, slack);
        QFETCH(bool, emptyBar);
        StartedProgram &p = *m_program;
        useLibrary(p, m_synthetic, m_work.path());
        if (emptyBar)
            p.db().database().Execute(QStringLiteral("UPDATE Ingredients SET Has = False"));
        const QStringList expected = namesBySql(p.db(), slack);
        const QStringList before = p.listedNames();
        p.db().BarList(qint16(slack));
        if (expected.isEmpty()) {
            QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("Sorry, no drinks found.")});
            QCOMPARE(p.listedNames(), before);
            return;
        }
        QVERIFY(p.boxes().messages().isEmpty());
        QCOMPARE(p.listedNames(), sorted(expected));
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains %1 Drinks").arg(expected.size()));
        QCOMPARE(p.form().selectedDrinkRow(), 0); // the top row, as after any search
        QCOMPARE(p.form().pnlDrinkName->text(), sorted(expected).first());
    }

    void judgesEveryDrinkByItsLines_data()
    {
        QTest::addColumn<int>("slack");
        QTest::addColumn<bool>("emptyBar");
        QTest::addColumn<bool>("sortedBefore");
        QTest::addColumn<QStringList>("found"); // in key order
        const QStringList atZero{"Zed Highball", "Iced Water", "Alpha Last"};
        QTest::newRow("slack 0") << 0 << false << false << atZero;
        QTest::newRow("slack 1, list sorted by the user")
            << 1 << false << true << QStringList{"Zed Highball", "Gimlet", "Iced Water", "Alpha Last"};
        // The same missing ingredient on two lines counts twice.
        QTest::newRow("slack 2") << 2 << false << false
                                 << QStringList{"Zed Highball", "Gimlet", "Iced Water", "Double Lime", "Alpha Last"};
        QTest::newRow("slack larger than any drink")
            << 9 << false << false << QStringList{"Zed Highball", "Gimlet", "Iced Water", "Double Lime", "Alpha Last"};
        QTest::newRow("common lines only, empty bar list") << 0 << true << false << QStringList{"Iced Water"};
        QTest::newRow("negative slack") << -1 << false << false << QStringList();
    }

    void judgesEveryDrinkByItsLines()
    {
        QFETCH(int, slack);
        QFETCH(bool, emptyBar);
        QFETCH(bool, sortedBefore);
        QFETCH(QStringList, found);
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        if (emptyBar)
            p.db().database().Execute(QStringLiteral("UPDATE Ingredients SET Has = False"));
        if (sortedBefore)
            p.form().Form_DblClick();
        frmMain &f = p.form();
        const QStringList before = p.listedNames();
        const QString label = f.lblCurrentSet->text();
        const QString status = f.statusText();
        const QString shown = f.pnlDrinkName->text();
        p.boxes().clear();

        p.db().BarList(qint16(slack));
        if (found.isEmpty()) {
            QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("Sorry, no drinks found.")});
            QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbInformation));
            QCOMPARE(p.listedNames(), before);
            QCOMPARE(f.lblCurrentSet->text(), label);
            QCOMPARE(f.statusText(), status);
            QCOMPARE(f.pnlDrinkName->text(), shown);
            return;
        }
        QVERIFY(p.boxes().messages().isEmpty());
        QCOMPARE(p.listedNames(), sorted(found));
        QCOMPARE(f.selectedDrinkRow(), 0);
        QCOMPARE(f.pnlDrinkName->text(), sorted(found).first());
        QCOMPARE(f.lblCurrentSet->text(), QStringLiteral("Current Set Contains %1 Drinks").arg(found.size()));
        QVERIFY(!f.lvDrinks->isSortingEnabled());
        QVERIFY(f.statusText().startsWith(QStringLiteral("Last search took ")));
        QVERIFY(!QApplication::overrideCursor());
    }

    void timingCoversTheFill_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QString>("text");
        QTest::newRow("two and a half") << 100.0 << 102.5 << "Last search took 2.5 seconds.";
        QTest::newRow("quarter") << 10.0 << 10.25 << "Last search took 0.25 seconds.";
        QTest::newRow("whole") << 5.0 << 8.0 << "Last search took 3 seconds.";
        QTest::newRow("below a millisecond") << 5.0 << 5.0004 << "Last search took 0 seconds.";
        QTest::newRow("across midnight") << 86399.5 << 1.0 << "Last search took 1.5 seconds.";
    }

    void timingCoversTheFill()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(QString, text);
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        int reads = 0;
        int listedAtEnd = -1;
        setClock([&] {
            if (++reads == 2)
                listedAtEnd = p.form().drinkCount();
            return reads == 1 ? start : end;
        });
        p.db().BarList(0);
        QCOMPARE(reads, 2);
        QCOMPARE(listedAtEnd, 3);
        QCOMPARE(p.form().statusText(), text);
    }

    void engineErrorLeavesTheWindowUsable()
    {
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        program().settings->setShowSearching(true);
        const QStringList before = p.listedNames();
        bool statusShown = false;
        // Runs when the matching lets pending events through, once the status window is up.
        setClock([&] {
            QMetaObject::invokeMethod(qApp, [&] { statusShown |= frmStatus::isLoaded(); }, Qt::QueuedConnection);
            return 1.0;
        });
        exec(p.db(), "ALTER TABLE Drinks RENAME TO DrinksAway");
        QVERIFY_THROWS_EXCEPTION(EngineError, p.db().BarList(0));
        exec(p.db(), "ALTER TABLE DrinksAway RENAME TO Drinks");
        program().settings->setShowSearching(false);
        QCoreApplication::processEvents();
        QVERIFY(statusShown);
        QVERIFY(!frmStatus::isLoaded());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(p.form().updatesEnabled());
        QCOMPARE(p.listedNames(), before);

        // No lines at all: nothing found, no error.
        p.db().database().Execute(QStringLiteral("DELETE FROM DrinkRel"));
        p.boxes().clear();
        p.db().BarList(3);
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("Sorry, no drinks found.")});
        QCOMPARE(p.listedNames(), before);
    }

    void lineOfAMissingDrinkIsSkipped()
    {
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        p.db().database().Execute(QStringLiteral("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (99, 1, \"\")"));
        p.db().BarList(0);
        QVERIFY(p.boxes().messages().isEmpty());
        QCOMPARE(p.listedNames(), QStringList({"Alpha Last", "Iced Water", "Zed Highball"}));
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains 3 Drinks"));
    }

    void flagLookups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("common"); // -1: no value
        QTest::addColumn<int>("has");
        QTest::newRow("on the bar list") << "Gin" << 0 << 1;
        QTest::newRow("common, other case") << "ICE" << 1 << 0;
        QTest::newRow("both") << "Both flags" << 1 << 1;
        QTest::newRow("trailing space is part of the name") << "Rum" << -1 << -1;
        QTest::newRow("no such ingredient") << "Unicorn tears" << -1 << -1;
        QTest::newRow("quotes cannot widen the match") << "x\" OR \"a\" = \"a" << -1 << -1;
    }

    void flagLookups()
    {
        QFETCH(QString, name);
        QFETCH(int, common);
        QFETCH(int, has);
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        auto asInt = [](std::optional<bool> v) { return v ? int(*v) : -1; };
        QCOMPARE(asInt(p.db().IsIngredientCommonName(name)), common);
        QCOMPARE(asInt(p.db().HasIngredientName(name)), has);
        const qint16 id = p.db().GetIngID(name);
        QCOMPARE(asInt(p.db().IsIngredientCommonID(id)), common);
    }

    void pickersListEveryIngredient()
    {
        StartedProgram &p = *m_program;
        useLibrary(p, m_edge, m_work.path());
        CDatabase &db = p.db();

        QTreeWidget view;
        view.setColumnCount(3);
        db.LoadIngredientListListview(&view, 1, 2);
        const QString mark = QStringLiteral("\u2022");
        QCOMPARE(column(&view, 0), QStringList({"Gin", "Tonic water", "Ice", "Lime", "Mint", "Rum ", "Both flags"}));
        QCOMPARE(column(&view, 1), QStringList({"", "", mark, "", "", "", mark}));
        QCOMPARE(column(&view, 2), QStringList({mark, mark, "", "", "", "", mark}));
        QVERIFY(db.ingredientsTable().Eof());
        db.LoadIngredientListListview(&view);
        QCOMPARE(view.topLevelItemCount(), 7);
        QCOMPARE(column(&view, 1) + column(&view, 2), QStringList(14, QString()));

        // Rows written by action queries after the cursor was opened.
        db.database().Execute(QStringLiteral("DELETE FROM Ingredients WHERE Ingredient = \"Mint\""));
        db.database().Execute(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (8, \"Basil\", False, True)"));
        db.LoadIngredientListListview(&view, 1, 2);
        QCOMPARE(column(&view, 0), QStringList({"Gin", "Tonic water", "Ice", "Lime", "Rum ", "Both flags", "Basil"}));
        QCOMPARE(view.topLevelItem(6)->text(2), mark);

        const QStringList byName{"Basil", "Both flags", "Gin", "Ice", "Lime", "Rum ", "Tonic water"};
        QComboBox combo;
        db.LoadIngredientList(&combo, false);
        db.LoadIngredientList(&combo, false);
        QStringList comboItems;
        for (int i = 0; i < combo.count(); ++i)
            comboItems << combo.itemText(i);
        QCOMPARE(comboItems, byName);

        QListWidget box;
        db.LoadIngredientList(&box, true);
        db.LoadIngredientList(&box, true);
        QStringList boxItems;
        for (int i = 0; i < box.count(); ++i)
            boxItems << box.item(i)->text();
        QStringList trimmed = byName;
        trimmed[5] = QStringLiteral("Rum");
        QCOMPARE(boxItems, trimmed);

        db.LoadCommonIngredients(&box);
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.item(0)->text() + QLatin1Char(',') + box.item(1)->text(), QStringLiteral("Ice,Both flags"));

        db.database().Execute(QStringLiteral("DELETE FROM Ingredients"));
        db.LoadIngredientListListview(&view, 1, 2);
        db.LoadIngredientList(&combo, false);
        QCOMPARE(view.topLevelItemCount(), 0);
        QCOMPARE(combo.count(), 0);
    }

private:
    std::unique_ptr<StartedProgram> m_program;
    QTemporaryDir m_templates;
    QTemporaryDir m_work;
    QString m_synthetic;
    QString m_edge;
};

QTEST_MAIN(TestBarList)
#include "test_bar_list.moc"
