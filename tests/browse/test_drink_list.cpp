// The drink list without a main window: its model under Qt's model tester through every change,
// the orders it keeps, and the list view telling the user's choice of a drink and nothing else.

#include "browse/drink_list_model.h"
#include "browse/drink_list_view.h"
#include "core/drink.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList rows(const DrinkListModel &model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, 0).data().toString()
                     + (model.columnCount() > 1 ? QLatin1Char(':') + model.index(row, 1).data().toString() : QString());
    return texts;
}

} // namespace

class TestDrinkList : public QObject {
    Q_OBJECT

private slots:
    void modelStaysConsistentThroughEveryChange()
    {
        DrinkListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setDrinks({"rum punch", "Gimlet", "Rum and Tonic"}, {2, -1, 0});
        QCOMPARE(model.columnCount(), 2);
        model.sort(1); // by count, an unknown one last; the name breaks ties
        QCOMPARE(rows(model), QStringList({"Rum and Tonic:0", "rum punch:2", "Gimlet:"}));
        model.sort(0, Qt::DescendingOrder);
        QCOMPARE(rows(model), QStringList({"rum punch:2", "Rum and Tonic:0", "Gimlet:"}));
        model.sort(0);
        QCOMPARE(model.sortedRowFor(QStringLiteral("Mojito")), 1);
        model.insertDrink(1, QStringLiteral("Mojito"));
        model.setMissing(1, 3);
        model.renameDrink(0, QStringLiteral("Gimlet Royale"));
        model.removeDrink(2);
        model.removeDrink(7); // not there: nothing happens
        QCOMPARE(rows(model), QStringList({"Gimlet Royale:", "Mojito:3", "rum punch:2"}));
        model.setDrinks({"Negroni"}, {1, 2}); // counts that do not fit the names are not shown
        QCOMPARE(rows(model), QStringList{"Negroni"});
    }

    // Marks rank both, tried, to print, none, and stay with their drinks through a removal above
    // them and a rename that moves the drink.
    void marksFollowTheirDrinks()
    {
        constexpr quint8 both = Drink::TriedMark | Drink::PrintMark;
        DrinkListView view;
        auto &model = static_cast<DrinkListModel &>(*view.model());
        view.setDrinks({"Daiquiri", "Gimlet", "Mojito", "Negroni"}, DrinkListOrder::AsGiven);
        view.setMarks({{"Daiquiri", Drink::PrintMark}, {"Gimlet", Drink::TriedMark}, {"Mojito", both}});
        model.sort(model.marksColumn());
        QCOMPARE(rows(model), QStringList({"Mojito:", "Gimlet:", "Daiquiri:", "Negroni:"}));
        model.sort(0);
        view.removeAt(0);
        view.renameDrink(QStringLiteral("Gimlet"), QStringLiteral("Vesper"));
        QCOMPARE(rows(model), QStringList({"Mojito:", "Negroni:", "Vesper:"}));
        QCOMPARE(QList<int>({model.marksAt(0), model.marksAt(1), model.marksAt(2)}), QList<int>({both, Drink::NoMark, Drink::TriedMark}));
    }

    // A new drink goes where the program's name rule puts it: a lower-case first letter among
    // capitals, not after them.
    void newDrinkTakesItsPlaceByTheNameRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::newRow("lower case") << QStringLiteral("mojito") << 2;
        QTest::newRow("last") << QStringLiteral("Zombie") << 3;
    }
    void newDrinkTakesItsPlaceByTheNameRule()
    {
        QFETCH(QString, name);
        QFETCH(int, row);
        DrinkListView view;
        view.setDrinks({"Daiquiri", "Gimlet", "Negroni"}, DrinkListOrder::AsGiven);
        view.addDrink(name);
        QCOMPARE(view.selectedRow(), row);
        QCOMPARE(view.drinkAt(row), name);
    }

    // After the user clicked the list Z to A, a new drink is not put where A to Z would have it.
    void newDrinkInADescendingListGoesAtTheEnd()
    {
        DrinkListView view;
        view.setDrinks({"Daiquiri", "Gimlet", "Negroni"}, DrinkListOrder::AsGiven);
        view.header()->setSortIndicator(0, Qt::DescendingOrder);
        view.addDrink(QStringLiteral("Cosmopolitan"));
        QCOMPARE(QStringList({view.drinkAt(0), view.drinkAt(1), view.drinkAt(2), view.drinkAt(3)}),
                 QStringList({"Negroni", "Gimlet", "Daiquiri", "Cosmopolitan"}));
    }

    void enterOnTheKeypadOpensTheDrinkAsReturnDoes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }
    void enterOnTheKeypadOpensTheDrinkAsReturnDoes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        DrinkListView view;
        QSignalSpy edit(&view, &DrinkListView::editRequested);
        view.setDrinks({"Daiquiri", "Gimlet"}, DrinkListOrder::AsGiven);
        view.selectRow(1);
        QTest::keyClick(&view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit.size(), 1);
    }

    void aClickOnAHeadingSortsByIt()
    {
        DrinkListView view;
        view.resize(300, 200);
        view.show();
        view.setDrinks({"Zombie", "Gimlet", "Mojito"}, DrinkListOrder::SortedOnce, {0, 2, 1}); // as Drinks I Can Make lists
        QHeaderView *header = view.header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 4, header->height() / 2));
        QCOMPARE(QStringList({view.drinkAt(0), view.drinkAt(1), view.drinkAt(2)}), QStringList({"Zombie", "Mojito", "Gimlet"}));
    }

    // A list in name order shows A to Z as Qt's ascending order: the first list, and after the user
    // sorted an earlier one Z to A or by its counts.
    void sortArrowShowsNameOrderOneWay_data()
    {
        QTest::addColumn<int>("clicked"); // the heading clicked before, -1 for none
        QTest::newRow("first list") << -1;
        QTest::newRow("Drink clicked: Z to A") << 0;
        QTest::newRow("Missing clicked") << 1;
    }
    void sortArrowShowsNameOrderOneWay()
    {
        QFETCH(int, clicked);
        DrinkListView view;
        view.resize(300, 200);
        view.show();
        QHeaderView *header = view.header();
        if (clicked >= 0) {
            view.setDrinks({"Gimlet", "Mojito", "Zombie"}, DrinkListOrder::SortedOnce, {0, 2, 1});
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(clicked) + 4, header->height() / 2));
        }
        view.setDrinks({"Gimlet", "Mojito", "Zombie"}, DrinkListOrder::AsGiven); // a search's list, in name order
        QCOMPARE(header->sortIndicatorSection(), 0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    void editsKeepADescendingOrder()
    {
        DrinkListView view;
        view.setDrinks({"Gimlet", "Mojito", "Zombie"}, DrinkListOrder::AsGiven);
        view.toggleSorting(); // the user's sorting, then a click on the heading: Z first
        view.sortByColumn(0, Qt::DescendingOrder);
        view.addDrink(QStringLiteral("Negroni"));
        QCOMPARE(view.selectedDrink(), QStringLiteral("Negroni"));
        view.renameDrink(QStringLiteral("Gimlet"), QStringLiteral("Zesty Gimlet"));
        QCOMPARE(QStringList({view.drinkAt(0), view.drinkAt(1), view.drinkAt(2), view.drinkAt(3)}),
                 QStringList({"Zombie", "Zesty Gimlet", "Negroni", "Mojito"}));
        QCOMPARE(view.selectedDrink(), QStringLiteral("Negroni"));
    }

    void programmaticChangesTellNothingAndKeysTellTheChoice()
    {
        DrinkListView view;
        QSignalSpy chosen(&view, &DrinkListView::drinkChosen);
        view.setDrinks({"Zombie", "Gimlet"}, DrinkListOrder::SortedOnce);
        view.selectRow(0);
        view.addDrink(QStringLiteral("Mojito")); // the list is in order: in its place, and selected
        QCOMPARE(view.selectedDrink(), QStringLiteral("Mojito"));
        view.renameDrink(QStringLiteral("Gimlet"), QStringLiteral("Zesty Gimlet"));
        QCOMPARE(view.drinkAt(1), QStringLiteral("Zesty Gimlet"));
        view.removeAt(0);
        QVERIFY(chosen.isEmpty());

        view.setDrinks({"Zombie", "Gimlet"}, DrinkListOrder::AsGiven);
        QCOMPARE(view.selectedRow(), -1);
        view.selectDrink(QStringLiteral("Zombie"));
        view.addDrink(QStringLiteral("Mojito")); // not in order: at the end until sorted once
        QCOMPARE(view.selectedRow(), 2);
        view.sortByName();
        QCOMPARE(view.selectedRow(), 1);
        QVERIFY(chosen.isEmpty());

        QTest::keyClick(&view, Qt::Key_Down);
        QTest::keyClick(&view, Qt::Key_Down); // at the end: no other drink
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("Zombie"));
    }
};

QTEST_MAIN(TestDrinkList)
#include "test_drink_list.moc"
