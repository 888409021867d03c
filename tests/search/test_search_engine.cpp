// Searches through CDatabase::Search on a started program: result sets, the timing text, the
// current-set label, the recent-search menu, the status window, the ingredient search's SQL and
// its limits, and the state left behind when a search fails.

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
// Names of the starter library's drinks that pass the test, sorted as the list shows them.
QStringList namesWhere(const std::function<bool(const library::Drink &)> &keep)
{
    QStringList names;
    for (const library::Drink &d : fixture::starterContents().drinks)
        if (keep(d))
            names << d.name;
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

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
        StartedProgram p;
        p.db().Search(qint16(type), pattern, true);
        QCOMPARE(p.listedNames(), expected);
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains %1 Drinks").arg(expected.size()));
        QCOMPARE(p.selectedName(), expected.first());
        QVERIFY(p.boxes().messages().isEmpty());
    }

    void emptyResultKeepsEverything()
    {
        StartedProgram p;
        p.db().Search(1, QStringLiteral("*sour*"), true);
        const QStringList before = p.listedNames();
        const QString label = p.form().lblCurrentSet->text();
        const QString recent0 = recent(p.form(), 0)->text();
        p.boxes().clear();
        // Only "*" is a wildcard: a user's % and _ stand for themselves.
        for (const QString &pattern : {QStringLiteral("No Such Drink"), QStringLiteral("%"), QStringLiteral("_ojito")}) {
            p.db().Search(1, pattern, true);
            QCOMPARE(p.listedNames(), before);
        }
        QCOMPARE(p.boxes().texts(), QStringList(3, QStringLiteral("No drinks matched your criteria.")));
        QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbInformation));
        QCOMPARE(p.form().lblCurrentSet->text(), label);
        QCOMPARE(recent(p.form(), 0)->text(), recent0);
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
        QCOMPARE(recent(f, 0)->text(), QStringLiteral("All Drinks: ()"));
        QVERIFY(!recent(f, 1)->isVisible() && !recent(f, 2)->isVisible());
        p.db().Search(1, QStringLiteral("*gin*"), true);
        p.db().Search(5, QString(), true); // nothing is tried yet: no result, not recorded
        p.db().Search(7, QString(), true);
        QCOMPARE(recent(f, 0)->text(), QStringLiteral("Submitted: ()"));
        QCOMPARE(recent(f, 1)->text(), QStringLiteral("Name: (*gin*)"));
        QCOMPARE(recent(f, 2)->text(), QStringLiteral("All Drinks: ()"));
        QVERIFY(recent(f, 1)->isVisible() && recent(f, 2)->isVisible());
        p.db().Search(2, QStringLiteral("Gin,Lime juice"), true);
        QCOMPARE(recent(f, 0)->text(), QStringLiteral("Ingredients: (Gin,Lime juice)"));
        QCOMPARE(recent(f, 2)->text(), QStringLiteral("Name: (*gin*)"));

        // Re-running an entry neither moves nor duplicates it.
        f.mnuSearchResults_Click(2);
        QCOMPARE(p.listedNames(), namesWhere([](const library::Drink &d) { return contains(d.name, "gin"); }));
        QCOMPARE(recent(f, 0)->text(), QStringLiteral("Ingredients: (Gin,Lime juice)"));
        QCOMPARE(recent(f, 2)->text(), QStringLiteral("Name: (*gin*)"));
        QCOMPARE(p.db().savedSearches()[2].sString, QStringLiteral("*gin*"));
    }

    void markSearchesFromTheMenu_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::newRow("tried") << 100 << "Tried Drinks: ()";
        QTest::newRow("not tried") << 110 << "Untried Drinks: ()";
        QTest::newRow("submitted") << 120 << "Submitted: ()";
        QTest::newRow("to print") << 130 << "Print: ()";
    }

    void markSearchesFromTheMenu()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        StartedProgram p;
        p.db().database().Execute(QStringLiteral("UPDATE Drinks SET Tried = True, Print = True WHERE ID <= 3"));
        p.form().mnuSearch_Click(index);
        QCOMPARE(recent(p.form(), 0)->text(), caption);
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

    void ingredientSearchBuildsOneSubSelectPerName()
    {
        StartedProgram p;
        const qint16 gin = p.db().GetIngID(QStringLiteral("Gin"));
        const qint16 tonic = p.db().GetIngID(QStringLiteral("Tonic water"));
        QVERIFY(gin > 0 && tonic > 0);
        p.db().Search(2, QStringLiteral("Gin,Tonic water"), true);
        QCOMPARE(p.db().lastIngredientSql(),
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
        QStringList listed = p.listedNames();
        listed.sort();
        expected.sort();
        QCOMPARE(listed, expected);
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
        StartedProgram p;
        for (const char *values : {"901, \"Salt, coarse\"", "902, \"Lime,juice\"", "903, \"Gin,Tonic water\""})
            p.db().database().Execute(QStringLiteral("INSERT INTO Ingredients (ID, Ingredient) VALUES (%1)").arg(QString::fromUtf8(values)));
        QString sql = QStringLiteral("SELECT DISTINCT Drinks.Name FROM Drinks, Ingredients, DrinkRel "
                                     "WHERE Drinks.ID = DrinkRel.DrinkID AND DrinkRel.IngID = Ingredients.ID ");
        for (const QString &name : names)
            sql += QStringLiteral("AND DrinkID IN (SELECT DrinkID FROM DrinkRel WHERE IngID = %1)").arg(name.isEmpty() ? 0 : p.db().GetIngID(name));
        p.db().Search(2, list, false);
        QCOMPARE(p.db().lastIngredientSql(), sql + QLatin1Char(';'));
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
