// The My Bar window as Tools, Bar List, My Bar... opens it: filtering, ticking, OK, Cancel and a
// failed save.

#include "search/frmMyBar.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Ingredients 1-7, Gin and Lime on the bar list, Ice common; one drink "G&T" of Gin and Ice, shown.
void makeLibrary(StartedProgram &p)
{
    p.exec(QStringLiteral(
        "DELETE FROM DrinkRel; DELETE FROM Drinks; DELETE FROM Ingredients;"
        "INSERT INTO Ingredients VALUES (1, 'Gin', 0, 1), (2, 'Sloe Gin', 0, 0), (3, 'Ginger ale', 0, 0),"
        " (4, 'Crème de Cassis', 0, 0), (5, 'Ice', 1, 0), (6, 'Lime', 0, 1), (7, 'Vodka', 0, 0);"
        "INSERT INTO Drinks (ID, Name) VALUES (1, 'G&T');"
        "INSERT INTO DrinkRel VALUES (1, 1, '2 oz'), (1, 5, '');"));
    p.db().ShowAllDrinks();
}

QStringList shown(const frmMyBar &bar)
{
    QStringList names;
    const QAbstractItemModel *model = bar.lstIngredients->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

// Ticks (or unticks) the shown row of that text as a click on its box does; false when refused.
bool tick(frmMyBar &bar, const QString &name, bool on)
{
    QAbstractItemModel *model = bar.lstIngredients->model();
    const int row = int(shown(bar).indexOf(name));
    return row >= 0 && model->setData(model->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

bool ticked(const frmMyBar &bar, const QString &name)
{
    const QAbstractItemModel *model = bar.lstIngredients->model();
    return model->index(int(shown(bar).indexOf(name)), 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

// Opens My Bar from the menu command and hands it to `drive`; the window is cancelled unless
// `drive` closed it. Gives the number of times it was shown.
int openMyBar(StartedProgram &p, const std::function<void(frmMyBar &)> &drive)
{
    int opened = 0;
    ModalScript script([&](QDialog &dialog) {
        ++opened;
        drive(static_cast<frmMyBar &>(dialog));
        if (dialog.result() != QDialog::Accepted)
            static_cast<frmMyBar &>(dialog).cmdCancel_Click();
        return dialog.result();
    });
    triggerCommand(p.form(), QStringLiteral("actMyBar"));
    return opened;
}

QStringList onHand(StartedProgram &p)
{
    return p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients WHERE Has <> 0 ORDER BY ID"));
}

} // namespace

class TestMyBar : public QObject {
    Q_OBJECT
private slots:
    void filterByTheNameRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("count");
        const QString ice = QStringLiteral("Ice  (common: always there)");
        const QString all = QStringLiteral("2 ingredients on hand, and 1 common one always there.");
        QTest::newRow("nothing typed") << "" << QStringList{"Crème de Cassis", "Gin", "Ginger ale", ice, "Lime", "Sloe Gin", "Vodka"} << all;
        QTest::newRow("part, any case, spaces") << "  gIN " << QStringList{"Gin", "Ginger ale", "Sloe Gin"} << all + " Showing 3 of 7.";
        QTest::newRow("without the accent") << "CREME" << QStringList{"Crème de Cassis"} << all + " Showing 1 of 7.";
        QTest::newRow("common one") << "ic" << QStringList{ice} << all + " Showing 1 of 7.";
        QTest::newRow("no match") << "rum" << QStringList{} << all + " No ingredient matches \"rum\".";
    }

    void filterByTheNameRule()
    {
        QFETCH(QString, typed);
        StartedProgram p;
        makeLibrary(p);
        QCOMPARE(openMyBar(p, [&](frmMyBar &bar) {
                     QTest::keyClicks(bar.txtFilter, typed);
                     QTEST(shown(bar), "listed");
                     QTEST(bar.lblCount->text(), "count");
                 }),
                 1);
    }

    // The name itself first, then the names that start with the text, then the rest: Down and
    // Space from the filter tick the bottle typed.
    void filterListsTheNameItselfFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("cola") << "cola" << QStringList{"Cola", "Cola nut bitters", "Chocolate syrup", "Dark cola"};
        QTest::newRow("vodka, any case") << "VODKA" << QStringList{"Vodka", "Vodka citron", "Citrus vodka"};
        QTest::newRow("no exact name") << "col" << QStringList{"Cola", "Cola nut bitters", "Chocolate syrup", "Dark cola"};
    }

    void filterListsTheNameItselfFirst()
    {
        QFETCH(QString, typed);
        StartedProgram p;
        makeLibrary(p);
        p.exec(QStringLiteral("INSERT INTO Ingredients VALUES (8, 'Chocolate syrup', 0, 0), (9, 'Citrus vodka', 0, 0),"
                              " (10, 'Dark cola', 0, 0), (11, 'Cola', 0, 0), (12, 'Vodka citron', 0, 0), (13, 'Cola nut bitters', 0, 0)"));
        openMyBar(p, [&](frmMyBar &bar) {
            QTest::keyClicks(bar.txtFilter, typed);
            QTEST(shown(bar), "listed");
            QTest::keyClick(bar.txtFilter, Qt::Key_Down);
            QTest::keyClick(bar.lstIngredients, Qt::Key_Space);
            bar.cmdOK->click();
        });
        QFETCH(QStringList, listed);
        QCOMPARE(onHand(p), (QStringList{"Gin", "Lime", listed.first()}));
    }

    void okSavesTheChangedTicksEscapeDiscards()
    {
        StartedProgram p;
        makeLibrary(p);
        QCOMPARE(p.form().lblMissing->text(), QStringLiteral("You have everything for this drink."));
        openMyBar(p, [](frmMyBar &bar) {
            QSignalSpy closed(&bar, &QDialog::rejected);
            QTest::keyClicks(bar.txtFilter, QStringLiteral("vod"));
            QVERIFY(tick(bar, QStringLiteral("Vodka"), true));
            QTest::keyClick(bar.txtFilter, Qt::Key_Escape); // empties the filter, keeps the tick
            QVERIFY(closed.isEmpty() && shown(bar).size() == 7 && ticked(bar, QStringLiteral("Vodka")));
            QTest::keyClick(bar.txtFilter, Qt::Key_Escape); // closes, as Cancel
            QCOMPARE(closed.size(), 1);
        });
        QCOMPARE(onHand(p), QStringList({"Gin", "Lime"}));

        openMyBar(p, [](frmMyBar &bar) {
            QTest::keyClicks(bar.txtFilter, QStringLiteral("gin"));
            QVERIFY(tick(bar, QStringLiteral("Sloe Gin"), true));
            QVERIFY(tick(bar, QStringLiteral("Gin"), false));
            QVERIFY(!tick(bar, QStringLiteral("Gin"), false)); // no change, nothing to save
            bar.txtFilter->clear();
            for (const bool on : {false, true}) // a common one is always there: no tick to change
                QVERIFY(!tick(bar, QStringLiteral("Ice  (common: always there)"), on));
            QCOMPARE(bar.lblCount->text(), QStringLiteral("2 ingredients on hand, and 1 common one always there. 2 changes to save."));
            bar.cmdOK->click();
        });
        QCOMPARE(onHand(p), QStringList({"Sloe Gin", "Lime"}));
        QVERIFY(p.boxes().messages().isEmpty());
        QCOMPARE(p.form().statusText(), QStringLiteral("Bar list saved: 1 added, 1 taken off."));
        QCOMPARE(p.form().lblMissing->text(), QStringLiteral("Missing: Gin")); // the shown drink read again

        // A tick taken back is no change; the first row a tick can go on is current, not a common one.
        openMyBar(p, [](frmMyBar &bar) {
            QTest::keyClicks(bar.txtFilter, QStringLiteral("i"));
            QCOMPARE(bar.lstIngredients->currentIndex().data().toString(), QStringLiteral("Crème de Cassis"));
            QVERIFY(tick(bar, QStringLiteral("Gin"), true));
            QVERIFY(tick(bar, QStringLiteral("Lime"), false) && tick(bar, QStringLiteral("Lime"), true));
            QVERIFY(bar.lblCount->text().endsWith(QStringLiteral(" 1 change to save.")));
            bar.cmdOK->click();
        });
        QCOMPARE(p.form().statusText(), QStringLiteral("Bar list saved: 1 added."));
    }

    void failedSaveKeepsTheWindowAndTicks()
    {
        StartedProgram p;
        makeLibrary(p);
        p.exec(QStringLiteral("CREATE TEMP TRIGGER fail BEFORE UPDATE ON main.Ingredients BEGIN SELECT RAISE(ABORT, 'injected'); END"));
        openMyBar(p, [&](frmMyBar &bar) {
            QVERIFY(tick(bar, QStringLiteral("Vodka"), true) && tick(bar, QStringLiteral("Lime"), false));
            bar.cmdOK->click();
            QCOMPARE(bar.result(), int(QDialog::Rejected)); // still open
            const QStringList said = p.boxes().texts(); // the cause, once
            QVERIFY2(said.size() == 1 && said[0].contains(QStringLiteral("injected")), qPrintable(said.join('\n')));
            QVERIFY(ticked(bar, QStringLiteral("Vodka")) && !ticked(bar, QStringLiteral("Lime")));
        });
        QCOMPARE(onHand(p), QStringList({"Gin", "Lime"}));
    }
};

QTEST_MAIN(TestMyBar)
#include "test_my_bar.moc"
