// Searches through CDatabase::Search on a started program: the timing text, the current set left
// by an empty result, the recent-search menu, the status window, the ingredient search's limits,
// and the state left behind when a search fails. What each search finds: test_drink_search.

#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmStatus.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QTreeWidget>
#include <QtTest>

namespace {
using fixture::namesWhere;

QAction *recent(frmMain &f, int i)
{
    return f.menuItem(QStringLiteral("mnuSearchResults"), i);
}

bool contains(const QString &text, const char *needle)
{
    return text.contains(QLatin1String(needle), Qt::CaseInsensitive);
}
} // namespace

class TestSearchEngine : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        setClock({});
    }

    void emptyResultKeepsEverything()
    {
        StartedProgram p;
        p.db().Search(1, QStringLiteral("*sour*"), true);
        const QStringList before = p.listedNames();
        const QString label = p.form().lblCurrentSet->text();
        const QString recent0 = menuCaption(recent(p.form(), 0));
        p.boxes().clear();
        // Only "*" is a wildcard: a user's % and _ stand for themselves.
        for (const QString &pattern : {QStringLiteral("No Such Drink"), QStringLiteral("%"), QStringLiteral("_ojito")}) {
            p.db().Search(1, pattern, true);
            QCOMPARE(p.listedNames(), before);
        }
        QCOMPARE(p.boxes().texts(), QStringList(3, QStringLiteral("No drinks matched your criteria.")));
        QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbInformation));
        QCOMPARE(p.form().lblCurrentSet->text(), label);
        QCOMPARE(menuCaption(recent(p.form(), 0)), recent0);
        QCOMPARE(p.selectedName(), before.first());
    }

    void timingTextCoversTheQuery_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QString>("text");
        QTest::newRow("quarter second") << 100.0 << 100.25 << "Last search took .250 seconds.";
        QTest::newRow("twelve and a half") << 7.0 << 19.5 << "Last search took 12.500 seconds.";
        QTest::newRow("across midnight") << 86399.9 << 0.15 << "Last search took .250 seconds.";
    }

    void timingTextCoversTheQuery()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(QString, text);
        StartedProgram p;
        QList<double> ticks = {start, end};
        setClock([&] { return ticks.isEmpty() ? end : ticks.takeFirst(); });
        p.db().Search(1, QStringLiteral("*a*"), true);
        QCOMPARE(p.form().statusText(), text);
    }

    void recentSearchesKeepTheNewestThree()
    {
        StartedProgram p;
        frmMain &f = p.form();
        QCOMPARE(menuCaption(recent(f, 0)), QStringLiteral("All Drinks: ()"));
        QVERIFY(!recent(f, 1)->isVisible() && !recent(f, 2)->isVisible());
        p.db().Search(1, QStringLiteral("*gin*"), true);
        p.db().Search(5, QString(), true); // nothing is tried yet: no result, not recorded
        p.db().Search(7, QString(), true);
        QCOMPARE(menuCaption(recent(f, 0)), QStringLiteral("Submitted: ()"));
        QCOMPARE(menuCaption(recent(f, 1)), QStringLiteral("Name: (*gin*)"));
        QCOMPARE(menuCaption(recent(f, 2)), QStringLiteral("All Drinks: ()"));
        QVERIFY(recent(f, 1)->isVisible() && recent(f, 2)->isVisible());
        p.db().Search(2, QStringLiteral("Gin,Lime juice"), true);
        QCOMPARE(menuCaption(recent(f, 0)), QStringLiteral("Ingredients: (Gin,Lime juice)"));
        QCOMPARE(menuCaption(recent(f, 2)), QStringLiteral("Name: (*gin*)"));

        // Re-running an entry neither moves nor duplicates it.
        triggerCommand(f, QStringLiteral("actRecentSearch2"));
        QCOMPARE(p.listedNames(), namesWhere([](const library::Drink &d) { return contains(d.name, "gin"); }));
        QCOMPARE(menuCaption(recent(f, 0)), QStringLiteral("Ingredients: (Gin,Lime juice)"));
        QCOMPARE(menuCaption(recent(f, 2)), QStringLiteral("Name: (*gin*)"));
        QCOMPARE(p.db().savedSearches()[2].sString, QStringLiteral("*gin*"));
    }

    void markSearchesFromTheMenu_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::newRow("tried") << "actSearchTried" << "Tried Drinks: ()";
        QTest::newRow("not tried") << "actSearchNotTried" << "Untried Drinks: ()";
        QTest::newRow("submitted") << "actSearchSubmitted" << "Submitted: ()";
        QTest::newRow("to print") << "actSearchToPrint" << "Print: ()";
    }

    void markSearchesFromTheMenu()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        StartedProgram p;
        p.db().database().Execute(QStringLiteral("UPDATE Drinks SET Tried = True, Print = True WHERE ID <= 3"));
        triggerCommand(p.form(), command);
        QCOMPARE(menuCaption(recent(p.form(), 0)), caption);
        QVERIFY(p.boxes().messages().isEmpty());
        QVERIFY(p.listedNames().size() >= 3);
    }

    void statusWindowFollowsTheSetting_data()
    {
        QTest::addColumn<bool>("showSearching");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("shown");
        QTest::newRow("on, name") << true << 1 << true;
        QTest::newRow("on, all drinks") << true << 0 << false;
        QTest::newRow("off, name") << false << 1 << false;
    }

    void statusWindowFollowsTheSetting()
    {
        QFETCH(bool, showSearching);
        QFETCH(int, type);
        QFETCH(bool, shown);
        StartedProgram::Options options;
        options.showSearching = showSearching;
        StartedProgram p(options);
        // The clock is read once before and once after the query: look at the window then.
        bool loadedDuringQuery = false;
        int reads = 0;
        setClock([&] {
            if (++reads == 2)
                loadedDuringQuery = frmStatus::isLoaded();
            return 10.0;
        });
        p.db().Search(qint16(type), QStringLiteral("*o*"), true);
        QCOMPARE(reads, 2);
        QCOMPARE(loadedDuringQuery, shown);
        QVERIFY(!frmStatus::isLoaded());
    }

    void ingredientSearchEdges_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("found");
        QTest::newRow("one name") << "Gin" << true;
        QTest::newRow("same name twice") << "Gin,Gin" << true;
        QTest::newRow("one unknown") << "Gin,Unicorn tears" << false;
        QTest::newRow("trailing space") << "Gin " << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("quote in a name") << "Gin\",\"x" << false;
    }

    void ingredientSearchEdges()
    {
        QFETCH(QString, list);
        QFETCH(bool, found);
        StartedProgram p;
        p.db().Search(1, QStringLiteral("Z*"), true);
        const QStringList before = p.listedNames();
        p.boxes().clear();
        p.db().Search(2, list, true);
        QCOMPARE(p.boxes().messages().isEmpty(), found);
        if (found) {
            const QStringList names = p.listedNames();
            QCOMPARE(int(QSet<QString>(names.cbegin(), names.cend()).size()), int(names.size())); // each drink once
        } else {
            QCOMPARE(p.listedNames(), before);
        }
    }

    void twentyOneNamesFitAndTwentyTwoDoNot()
    {
        StartedProgram p;
        const QString one = QStringLiteral("Gin");
        p.db().Search(2, QStringList(21, one).join(QLatin1Char(',')), true);
        QVERIFY(p.boxes().messages().isEmpty());
        try {
            p.db().Search(2, QStringList(22, one).join(QLatin1Char(',')), true);
            QFAIL("22 names were accepted");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), int(err::SubscriptOutOfRange));
        }
        QVERIFY(p.form().lvDrinks->updatesEnabled());
        QVERIFY(!frmStatus::isLoaded());
    }

    void failedSearchLeavesTheWindowUsable()
    {
        StartedProgram::Options options;
        options.showSearching = true;
        StartedProgram p(options);
        p.db().database().Execute(QStringLiteral("DELETE FROM QueryDefs WHERE Name = \"HaveTried\""));
        const QStringList before = p.listedNames();
        p.form().menuItem(QStringLiteral("mnuSearch"), 100)->trigger(); // through the command handler
        QCOMPARE(p.boxes().messages().size(), 1);
        QVERIFY2(p.boxes().texts().first().startsWith(QStringLiteral("Error 3265: ")), qPrintable(p.boxes().texts().first()));
        QVERIFY(p.form().lvDrinks->updatesEnabled());
        QVERIFY(!frmStatus::isLoaded());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(p.listedNames(), before);
    }
};

QTEST_MAIN(TestSearchEngine)
#include "test_search_engine.moc"
