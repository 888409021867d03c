// The drink list and the detail view of a started program: what a fill selects and shows,
// Previous / Next from menu and toolbar, the random drink and sorting.

#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QElapsedTimer>
#include <QMenu>
#include <QtTest>

namespace {
// Drink lines as the detail view lists them, from the library source.
QStringList expectedLines(const library::Drink &d)
{
    QStringList lines;
    for (const library::Line &l : d.lines)
        lines << (l.amount.isEmpty() ? l.ingredient : l.amount + QLatin1Char(' ') + l.ingredient);
    return lines;
}

} // namespace

class TestBrowse : public QObject {
    Q_OBJECT

private slots:
    void fillSelectsAndShowsTheFirstDrink()
    {
        StartedProgram p;
        frmMain &f = p.form();
        const library::Library lib = fixture::starterContents();
        QCOMPARE(f.drinkCount(), int(lib.drinks.size()));
        QCOMPARE(f.lblCurrentSet->text(), QStringLiteral("Current Set Contains %1 Drinks").arg(lib.drinks.size()));
        const QString first = p.listedNames().first();
        QCOMPARE(p.selectedName(), first);
        QCOMPARE(f.pnlDrinkName->text(), first);
        QCOMPARE(f.pnlDrinkName->toolTip(), first);
        QVERIFY(!f.command(QStringLiteral("actPrevious"))->isEnabled());
        QVERIFY(!f.menuItem(QStringLiteral("mnuView"), 20)->isEnabled());
        QVERIFY(f.command(QStringLiteral("actNext"))->isEnabled());
        QVERIFY(f.menuItem(QStringLiteral("mnuView"), 23)->isEnabled());
        // Names are listed case-insensitively sorted.
        QStringList sorted = p.listedNames();
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(p.listedNames(), sorted);
    }

    void detailShowsLinesDirectionsCommentsAndMarks()
    {
        StartedProgram p;
        frmMain &f = p.form();
        const library::Library lib = fixture::starterContents();
        // One drink with comments, then one without, then one with an empty amount.
        const library::Drink *withComments = nullptr, *without = nullptr, *emptyAmount = nullptr;
        for (const library::Drink &d : lib.drinks) {
            if (!withComments && !d.comments.isNull())
                withComments = &d;
            if (!without && d.comments.isNull())
                without = &d;
            for (const library::Line &l : d.lines)
                if (!emptyAmount && l.amount.isEmpty())
                    emptyAmount = &d;
        }
        QVERIFY(withComments && without && emptyAmount);
        for (const library::Drink *d : {withComments, without, emptyAmount}) {
            p.db().ShowDrinkInfo(d->name);
            QCOMPARE(f.pnlDrinkName->text(), d->name);
            QCOMPARE(f.txtDirections->toPlainText(), d->directions);
            QCOMPARE(f.txtComments->toPlainText(), d->comments.isNull() ? QString() : d->comments.toString());
            // The amount in the first column, the ingredient in the second; together the line.
            QStringList shown, amounts, bare;
            for (int i = 0; i < f.lvIngredients->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = f.lvIngredients->topLevelItem(i);
                amounts << item->text(0);
                bare << item->text(1);
                shown << (item->text(0).isEmpty() ? item->text(1) : item->text(0) + QLatin1Char(' ') + item->text(1));
            }
            QCOMPARE(shown, expectedLines(*d));
            QStringList ingredients, stored;
            for (const library::Line &l : d->lines) {
                ingredients << l.ingredient;
                stored << l.amount;
            }
            QCOMPARE(bare, ingredients);
            QCOMPARE(amounts, stored);
            QVERIFY(!f.lvIngredients->isColumnHidden(1));
        }
        // A name may hold '<': shown as typed, never taken for markup.
        QCOMPARE(f.pnlDrinkName->textFormat(), Qt::PlainText);
        QCOMPARE(f.lblMissing->textFormat(), Qt::PlainText);
    }

    void markButtonsFollowTheShownDrink()
    {
        StartedProgram p;
        frmMain &f = p.form();
        const QStringList names = p.listedNames();
        p.db().database().Execute(QStringLiteral("UPDATE Drinks SET Tried = True, Print = True WHERE ID = 1"));
        const QString marked = p.db().GetDrinkName(1);
        p.db().ShowDrinkInfo(marked);
        QVERIFY(f.command(QStringLiteral("actMarkTried"))->isChecked());
        QVERIFY(f.command(QStringLiteral("actMarkPrint"))->isChecked());
        QVERIFY(p.db().CurrentDrinkPrint());
        p.db().ShowDrinkInfo(p.db().GetDrinkName(2));
        QVERIFY(!f.command(QStringLiteral("actMarkTried"))->isChecked());
        QVERIFY(!f.command(QStringLiteral("actMarkPrint"))->isChecked());
        QVERIFY(!p.db().CurrentDrinkPrint());
        // Clicking a mark button marks the current drink, and the button says so.
        f.selectDrink(p.db().GetDrinkName(2));
        f.command(QStringLiteral("actMarkTried"))->trigger();
        f.command(QStringLiteral("actMarkPrint"))->trigger();
        QVERIFY(f.command(QStringLiteral("actMarkTried"))->isChecked() && f.command(QStringLiteral("actMarkPrint"))->isChecked());
        QCOMPARE(p.db().database().scalar(QStringLiteral("SELECT Tried + Print FROM Drinks WHERE ID = 2")), 2);
        f.command(QStringLiteral("actMarkPrint"))->trigger(); // released: the mark goes again
        QCOMPARE(p.db().database().scalar(QStringLiteral("SELECT Print FROM Drinks WHERE ID = 2")), 0);
        // A mark the file refuses leaves the button showing what the file holds.
        p.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.Drinks BEGIN SELECT RAISE(ABORT, 'injected'); END"));
        f.command(QStringLiteral("actMarkTried"))->trigger();
        QVERIFY(f.command(QStringLiteral("actMarkTried"))->isChecked());
        QCOMPARE(p.boxes().texts().size(), 1);
    }

    // Deleting a set that holds every drink leaves an empty library: listed as empty, no message.
    void anEmptiedLibraryListsAsEmpty()
    {
        StartedProgram p;
        p.exec(QStringLiteral("DELETE FROM Drinks WHERE ID > 3"));
        triggerCommand(p.form(), QStringLiteral("actAllDrinks"));
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteSet"));
        QCOMPARE(p.boxes().texts().size(), 1); // the question
        QVERIFY(p.listedNames().isEmpty() && p.form().pnlDrinkName->text().isEmpty());
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains 0 Drinks"));
    }

    void unknownDrinkIsANumberedError()
    {
        StartedProgram p;
        try {
            p.db().ShowDrinkInfo(QStringLiteral("No Such Drink"));
            QFAIL("showed a drink that is not there");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), int(err::NoCurrentRecord));
            QVERIFY(e.description().contains(QStringLiteral("No Such Drink")));
        }
    }

    void nextAndPreviousWalkTheListAndStopAtTheEnds_data()
    {
        QTest::addColumn<bool>("useToolbar");
        QTest::newRow("menu") << false;
        QTest::newRow("toolbar") << true;
    }

    void nextAndPreviousWalkTheListAndStopAtTheEnds()
    {
        QFETCH(bool, useToolbar);
        StartedProgram p;
        frmMain &f = p.form();
        p.db().Search(1, QStringLiteral("B*"), true); // a short set
        const QStringList names = p.listedNames();
        QVERIFY(names.size() >= 3);
        auto next = [&] { useToolbar ? triggerCommand(f, QStringLiteral("actNext")) : triggerCommand(f, QStringLiteral("actNext")); };
        auto previous = [&] { useToolbar ? triggerCommand(f, QStringLiteral("actPrevious")) : triggerCommand(f, QStringLiteral("actPrevious")); };
        for (int i = 1; i < names.size(); ++i) {
            next();
            QCOMPARE(p.selectedName(), names[i]);
            QCOMPARE(f.pnlDrinkName->text(), names[i]);
            QCOMPARE(f.lvDrinks->selectionModel()->selectedRows().size(), 1);
        }
        QVERIFY(!f.command(QStringLiteral("actNext"))->isEnabled());
        QVERIFY(!f.menuItem(QStringLiteral("mnuView"), 23)->isEnabled());
        QVERIFY(f.command(QStringLiteral("actPrevious"))->isEnabled());
        previous();
        QCOMPARE(p.selectedName(), names[names.size() - 2]);
        QVERIFY(f.command(QStringLiteral("actNext"))->isEnabled());
        QVERIFY(f.menuItem(QStringLiteral("mnuView"), 23)->isEnabled());
    }

    void oneDrinkSetDisablesBothDirections()
    {
        StartedProgram p;
        const QString name = p.listedNames().at(5);
        p.db().Search(1, name, true);
        QCOMPARE(p.listedNames(), QStringList{name});
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains 1 Drinks"));
        QVERIFY(!p.form().command(QStringLiteral("actPrevious"))->isEnabled());
        QVERIFY(!p.form().command(QStringLiteral("actNext"))->isEnabled());
    }

    void randomDrinkPicksFromTheCurrentSetOnly()
    {
        StartedProgram p;
        p.db().Search(1, QStringLiteral("*sour*"), true);
        const QStringList set = p.listedNames();
        QVERIFY(set.size() >= 2);
        QList<double> draws = {0.0, 0.999999, 0.5};
        setRandomSource([&] { return draws.isEmpty() ? 0.0 : draws.takeFirst(); });
        triggerCommand(p.form(), QStringLiteral("actRandomDrink"));
        QCOMPARE(p.selectedName(), set.first());
        triggerCommand(p.form(), QStringLiteral("actRandomDrink"));
        QCOMPARE(p.selectedName(), set.last());
        QCOMPARE(p.form().pnlDrinkName->text(), set.last());
        QVERIFY(!p.form().command(QStringLiteral("actNext"))->isEnabled());
        triggerCommand(p.form(), QStringLiteral("actRandomDrink"));
        QCOMPARE(p.selectedName(), set[int(0.5 * set.size())]);
        setRandomSource({});
        // Unseeded draws never leave the set.
        for (int i = 0; i < 30; ++i) {
            triggerCommand(p.form(), QStringLiteral("actRandomDrink"));
            QVERIFY(set.contains(p.selectedName()));
        }
        QCOMPARE(p.listedNames(), set);
    }

    void randomDrinkAtStartupShowsOneOfTheLibrary()
    {
        StartedProgram::Options options;
        options.randomDrink = true;
        setRandomSource([] { return 0.75; });
        StartedProgram p(options);
        setRandomSource({});
        const QStringList names = p.listedNames();
        QCOMPARE(p.selectedName(), names[int(0.75 * names.size())]);
        QVERIFY(p.form().command(QStringLiteral("actPrevious"))->isEnabled());
        QVERIFY(p.form().command(QStringLiteral("actNext"))->isEnabled());
    }

    void backgroundDoubleClickTogglesSorting()
    {
        StartedProgram p;
        frmMain &f = p.form();
        const bool initially = f.lvDrinks->isSortingEnabled();
        p.db().Search(4, QStringLiteral("*a*"), true);
        f.Form_DblClick();
        QCOMPARE(f.lvDrinks->isSortingEnabled(), !initially);
        f.Form_DblClick();
        QCOMPARE(f.lvDrinks->isSortingEnabled(), initially);
    }

    void keyboardMovesShowTheSelectedDrink_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expectedRow"); // -1: the last row
        QTest::newRow("down") << int(Qt::Key_Down) << 1;
        QTest::newRow("end") << int(Qt::Key_End) << -1;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << -2; // somewhere below the first
    }

    void keyboardMovesShowTheSelectedDrink()
    {
        QFETCH(int, key);
        QFETCH(int, expectedRow);
        StartedProgram p;
        frmMain &f = p.form();
        f.lvDrinks->setFocus();
        QTest::keyClick(f.lvDrinks, Qt::Key(key));
        const int last = f.drinkCount() - 1;
        const int row = f.selectedDrinkRow();
        if (expectedRow == -2)
            QVERIFY(row > 0);
        else
            QCOMPARE(row, expectedRow < 0 ? last : expectedRow);
        QCOMPARE(f.pnlDrinkName->text(), p.selectedName());
        QVERIFY(f.command(QStringLiteral("actPrevious"))->isEnabled());
        QCOMPARE(f.command(QStringLiteral("actNext"))->isEnabled(), row < last);
        // Next at the end is greyed out: choosing it keeps the last drink selected and shown.
        if (row == last) {
            f.command(QStringLiteral("actNext"))->trigger();
            QCOMPARE(p.selectedName(), f.drinkAt(last));
            QVERIFY(f.command(QStringLiteral("actPrevious"))->isEnabled());
        }
    }

    void sortingIgnoresCaseAsTheQueriesDo_data()
    {
        QTest::addColumn<bool>("barList");
        QTest::newRow("sorting switched on") << false;
        QTest::newRow("bar-list search") << true;
    }

    void sortingIgnoresCaseAsTheQueriesDo()
    {
        QFETCH(bool, barList);
        StartedProgram p;
        frmMain &f = p.form();
        const QStringList given = {QStringLiteral("Rum Old Fashioned"), QStringLiteral("rum punch"), QStringLiteral("Rum and Tonic")};
        const QStringList sorted = {QStringLiteral("Rum and Tonic"), QStringLiteral("Rum Old Fashioned"), QStringLiteral("rum punch")};
        if (barList) {
            f.fillDrinkList(given, DrinkListOrder::SortedOnce);
            QVERIFY(!f.lvDrinks->isSortingEnabled());
        } else {
            f.lvDrinks->setSortingEnabled(false);
            f.fillDrinkList(given, DrinkListOrder::AsGiven);
            QCOMPARE(p.listedNames(), given);
            f.Form_DblClick();
        }
        QCOMPARE(p.listedNames(), sorted);
    }

    void hugeDrinksShowQuicklyAndSaySoWhenCut_data()
    {
        QTest::addColumn<int>("textSize");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("1 MB directions and comments") << (1 << 20) << 3;
        QTest::newRow("5 MB directions and comments") << (5 << 20) << 3;
        QTest::newRow("20,000 lines") << 100 << 20000;
        QTest::newRow("1,000 lines: all shown") << 100 << 1000;
        QTest::newRow("1,001 lines") << 100 << 1001;
    }

    void hugeDrinksShowQuicklyAndSaySoWhenCut()
    {
        QFETCH(int, textSize);
        QFETCH(int, lineCount);
        library::Library lib = fixture::starterContents();
        library::Drink huge = lib.drinks.first();
        huge.name = QStringLiteral("Huge Punch");
        // One paragraph of words, the worst case for laying text out.
        const QString words = QStringLiteral("Stir gently over ice and strain. ");
        huge.comments = words.repeated(textSize / int(words.size()) + 1).left(textSize);
        // Four-byte characters after one byte: a cut at a round number of bytes splits one.
        huge.directions = QStringLiteral("x") + QStringLiteral("\U0001F34B").repeated(textSize / 4);
        for (int i = huge.lines.size(); i < lineCount; ++i)
            huge.lines.append(huge.lines.first());
        lib.drinks.append(huge);
        StartedProgram::Options options;
        options.copyLibrary = false;
        StartedProgram p(options);
        p.db().setFileName(fixture::customLibrary(p.folder(), lib, QStringLiteral("huge.mdb")));
        p.db().DbOpen();
        frmMain &f = p.form();
        QCoreApplication::processEvents(); // the window's own first paint is not the drink's
        QElapsedTimer timer;
        timer.start();
        p.db().ShowDrinkInfo(huge.name);
        QCoreApplication::processEvents(); // the text panes lay out on the first paint
        // About 10 ms here (the benchmark's show_drink_huge); a whole megabyte took a second.
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(f.pnlDrinkName->text(), huge.name);
        for (const auto &[shown, stored] : {std::pair{f.txtDirections->toPlainText(), huge.directions},
                                            std::pair{f.txtComments->toPlainText(), huge.comments.toString()}}) {
            if (textSize > 100000) {
                QVERIFY(shown.size() < textSize);
                QVERIFY(stored.startsWith(shown.left(shown.indexOf(QLatin1String("\n\n[")))));
                QVERIFY2(shown.endsWith(QStringLiteral(" kB long.]")), qPrintable(shown.right(120)));
            } else {
                QCOMPARE(shown, stored);
            }
        }
        const int items = f.lvIngredients->topLevelItemCount();
        const QString last = f.lvIngredients->topLevelItem(items - 1)->text(0);
        if (lineCount > 1000)
            QCOMPARE(last, lineCount == 1001 ? QStringLiteral("[1 more line is not shown here.]") : QStringLiteral("[19,000 more lines are not shown here.]"));
        else if (lineCount == 1000)
            QCOMPARE(items, lineCount);
        // What is stored is never cut.
        QCOMPARE(p.db().database().scalar(
                     QStringLiteral("SELECT length(CAST(Description AS BLOB)) FROM Drinks WHERE Name = 'Huge Punch'")),
                 qint64(huge.directions.toUtf8().size()));
    }

    void mouseReleaseShowsTheClickedDrink()
    {
        StartedProgram p;
        frmMain &f = p.form();
        f.lvDrinks_ItemClick(3);
        f.lvDrinks_MouseUp(Qt::LeftButton, QPoint());
        QCOMPARE(f.pnlDrinkName->text(), f.drinkAt(3));
    }

    // A click tells the list's choice once; a click on the chosen drink shows it afresh.
    void realClicksShowTheDrinkOnce()
    {
        StartedProgram p;
        frmMain &f = p.form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QSignalSpy chosen(f.lvDrinks, &DrinkListView::drinkChosen);
        auto click = [&](int row, Qt::MouseButton button, Qt::KeyboardModifiers keys = {}) {
            QTest::mouseClick(f.lvDrinks->viewport(), button, keys, f.lvDrinks->visualRect(f.lvDrinks->model()->index(row, 0)).center());
        };
        click(3, Qt::LeftButton);
        QCOMPARE(f.pnlDrinkName->text(), f.drinkAt(3));
        p.db().ShowDrinkInfo(f.drinkAt(0));
        click(3, Qt::LeftButton);
        click(3, Qt::LeftButton, Qt::ControlModifier); // would take the selection away
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(p.selectedName(), f.pnlDrinkName->text());
        click(5, Qt::RightButton);
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(f.pnlDrinkName->text(), f.drinkAt(5));
        QVERIFY(f.drinkListPopup()->isVisible());
    }
};

QTEST_MAIN(TestBrowse)
#include "test_browse.moc"
