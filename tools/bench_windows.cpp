// Benchmarks of what the user waits for in the main window: start-up, listing all drinks, the name
// and ingredient searches and showing one drink. Our figures include filling the window's lists.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/quick_search_box.h"
#include "app/startup.h"
#include "common/program_objects.h"
#include "core/settings_access.h"
#include "store/CDatabase.h"
#include "store/engine/database.h"
#include "store/engine/library_schema.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <random>

namespace bench {

namespace {

QByteArray storedQuerySql(const char *name)
{
    for (const auto &[queryName, sql] : library::storedQueries())
        if (queryName == QLatin1String(name))
            return sql.toUtf8();
    return QByteArray();
}


// A library with at least five lines, for the ingredient search.
QStringList fiveIngredientsOfOneDrink(const library::Library &lib, int pick)
{
    int seen = 0;
    for (const library::Drink &d : lib.drinks) {
        if (d.lines.size() >= 5 && seen++ == pick) {
            QStringList names;
            for (int i = 0; i < 5; ++i)
                names << d.lines[i].ingredient;
            return names;
        }
    }
    return {};
}

void benchStart(const Context &c)
{
    const int runs = 5;
    const double ours = medianTime(runs, [&](int) {
        frmMain form;
        startQuietly(form, c.path);
        QCoreApplication::processEvents();
        Form_Unload(form);
    });
    const QByteArray all = storedQuerySql("ShowAllName");
    const QByteArray lookup = storedQuerySql("DrinkLookup");
    const double floor = medianTime(runs, [&](int) {
        RawConnection raw(c.path);
        raw.rows(all.constData());
        raw.rows(lookup.constData(), {c.contents.drinks.first().name});
    });
    report("start", c.drinks, ours, floor, runs);
}

// The rest run on one started program.
void benchSearches(const Context &c)
{
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    RawConnection raw(c.path);
    const int runs = 11;

    if (c.wanted("all_drinks")) {
        const double ours = medianTime(runs, [&](int) { db.ShowAllDrinks(true); });
        const QByteArray sql = storedQuerySql("ShowAllName");
        const double floor = medianTime(runs, [&](int) { raw.rows(sql.constData()); });
        report("all_drinks", c.drinks, ours, floor, runs);
    }
    if (c.wanted("list_with_marks")) {
        // All drinks with the marks column where two drinks in three carry a mark (the built library
        // marks about one in eight): the marks are read once for the whole list, beside its query.
        engine::Database &file = db.database();
        // The same fill over the library as built, in this process, for a fair comparison.
        const double unmarked = medianTime(runs, [&](int) { db.ShowAllDrinks(true); });
        file.Execute(QStringLiteral("CREATE TEMP TABLE bench_marks AS SELECT ID, Tried, Print FROM main.Drinks"));
        file.Execute(QStringLiteral("UPDATE main.Drinks SET Tried = (ID % 2 = 0), Print = (ID % 3 = 0)"));
        const double ours = medianTime(runs, [&](int) { db.ShowAllDrinks(true); });
        const double marksAlone = medianTime(runs, [&](int) { db.ShowListMarks(); });
        // The marks are read again after any write to the file; the fills above reuse them.
        const double afterWrite = medianTime(runs, [&](int) {
            file.Execute(QStringLiteral("UPDATE main.Drinks SET Tried = Tried WHERE ID = 1"));
            db.ShowAllDrinks(true);
        });
        const QByteArray sql = storedQuerySql("ShowAllName");
        const double floor = medianTime(runs, [&](int) {
            raw.rows(sql.constData());
            raw.rows("SELECT Name, Tried, Print FROM Drinks WHERE (Tried <> 0 OR Print <> 0) AND Name IS NOT NULL");
        });
        file.Execute(QStringLiteral("UPDATE main.Drinks SET Tried = (SELECT Tried FROM temp.bench_marks b WHERE b.ID = Drinks.ID), "
                                    "Print = (SELECT Print FROM temp.bench_marks b WHERE b.ID = Drinks.ID)"));
        file.Execute(QStringLiteral("DROP TABLE temp.bench_marks"));
        printf("# list_with_marks %d: all drinks as built %.3f ms; showing the marks read before %.3f ms; the whole fill after a "
               "write %.3f ms\n",
               c.drinks, unmarked, marksAlone, afterWrite);
        report("list_with_marks", c.drinks, ours, floor, runs);
    }
    if (c.wanted("search_name_contains")) {
        const QString pattern = QStringLiteral("*fizz*");
        const double ours = medianTime(runs, [&](int) { db.Search(1, pattern, true); });
        const QByteArray sql = storedQuerySql("NameSearchByName");
        const double floor = medianTime(runs, [&](int) { raw.rows(sql.constData(), {pattern}); });
        report("search_name_contains", c.drinks, ours, floor, runs);
    }
    if (c.wanted("search_ingredients_5")) {
        QList<QStringList> lists;
        for (int i = 0; i < runs; ++i)
            lists << fiveIngredientsOfOneDrink(c.contents, i * 7);
        QStringList sqls;
        const double ours = medianTime(runs, [&](int i) {
            db.Search(2, lists[i].join(QLatin1Char(',')), true);
            sqls << db.lastIngredientSql();
        });
        const double floor = medianTime(runs, [&](int i) {
            const QByteArray sql = sqls[i].toUtf8();
            raw.rows(sql.constData());
        });
        report("search_ingredients_5", c.drinks, ours, floor, runs);
    }
    if (c.wanted("show_drink")) {
        const int showRuns = 101;
        std::mt19937 rng(7);
        QStringList names;
        for (int i = 0; i < showRuns; ++i)
            names << c.contents.drinks[int(rng() % c.contents.drinks.size())].name;
        const double ours = medianTime(showRuns, [&](int i) { db.ShowDrinkInfo(names[i]); });
        const QByteArray sql = storedQuerySql("DrinkLookup");
        const double floor = medianTime(showRuns, [&](int i) { raw.rows(sql.constData(), {names[i]}); });
        report("show_drink", c.drinks, ours, floor, showRuns);
    }
    if (c.wanted("type_ahead_search")) {
        // "golden sour" typed a letter at a time, then erased to the empty box (every drink): each
        // keystroke goes through the box's handler, list and shown drink included. The figure is
        // the slowest keystroke; the floor, the bare query of the widest one.
        const QString typed = QStringLiteral("golden sour");
        QStringList keystrokes;
        for (int i = 1; i <= typed.size(); ++i)
            keystrokes << typed.left(i);
        for (int i = typed.size() - 1; i >= 0; --i)
            keystrokes << typed.left(i);
        const int typeRuns = 5;
        double total = 0;
        std::vector<double> slowest;
        for (int run = 0; run < typeRuns; ++run) {
            double worst = 0;
            for (const QString &text : keystrokes) {
                const double one = medianTime(1, [&](int) {
                    form.txtQuickSearch->setText(text);
                    form.txtQuickSearch_Change();
                });
                worst = std::max(worst, one);
                total += one;
            }
            slowest.push_back(worst);
        }
        std::sort(slowest.begin(), slowest.end());
        const double ours = slowest[slowest.size() / 2];
        printf("# type_ahead_search %d: %d keystrokes, mean %.3f ms\n", c.drinks, int(keystrokes.size()),
               total / double(typeRuns * keystrokes.size()));
        const double floor = medianTime(typeRuns, [&](int) { raw.rows("SELECT Name FROM Drinks WHERE Name LIKE '%o%' ORDER BY Name, ID"); });
        report("type_ahead_search", c.drinks, ours, floor, typeRuns);
    }
    Form_Unload(form);
}

} // namespace

void startQuietly(frmMain &form, const QString &path)
{
    auto save = [](const char *key, const QString &value) {
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QLatin1String(key), value);
    };
    save("Database", path);
    save("Show Tips at Startup", QStringLiteral("0"));
    save("Random Drink", QStringLiteral("0"));
    save("ShowSearching", QStringLiteral("False"));
    Form_Load(form, QStringLiteral("kymp")); // maintainer mode: no splash window to wait for
}

void benchWindows(const Context &c)
{
    if (c.wanted("start"))
        benchStart(c);
    benchSearches(c);
    benchBarList(c);
}

} // namespace bench
