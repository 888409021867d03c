// Benchmarks of the ingredient maintenance: combining three ingredients that about 300 drinks use
// into one, end to end through the gateway, and opening the maintenance window on the library's
// 2,000 ingredients, and the count of drinks a rename asks with.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/program_objects.h"
#include "edit/frmIngredientMaintenence.h"
#include "edit/ingredient_writes.h"
#include "store/CDatabase.h"

#include <QElapsedTimer>
#include <QHash>
#include <QListWidget>
#include <QTreeWidget>
#include <algorithm>

namespace bench {

namespace {

// The three ingredients whose use is closest to a hundred drinks each, most used first.
QStringList threeUsedByAboutAHundred(const library::Library &lib)
{
    QHash<QString, int> uses;
    for (const library::Drink &d : lib.drinks)
        for (const library::Line &l : d.lines)
            ++uses[l.ingredient];
    QStringList names = uses.keys();
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const int da = std::abs(uses[a] - 100), db = std::abs(uses[b] - 100);
        return da != db ? da < db : a < b;
    });
    names = names.mid(0, 3);
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) { return uses[a] > uses[b]; });
    return names;
}

void exec(CDatabase &db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db.database().handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(sql), message);
}

// The same moves and deletes with prepared statements, rolled back so every run does the same work.
void combineRaw(RawConnection &raw, const QList<int> &ids, const QStringList &names)
{
    raw.exec("BEGIN IMMEDIATE");
    for (int i = 1; i < ids.size(); ++i) {
        raw.rows("UPDATE DrinkRel SET IngID = ? WHERE IngID = ?", {ids[0], ids[i]});
        raw.rows("DELETE FROM Ingredients WHERE Ingredient = ?", {names[i]});
    }
    raw.exec("ROLLBACK");
}

void benchCombine(const Context &c, CDatabase &db)
{
    const QStringList names = threeUsedByAboutAHundred(c.contents);
    QList<int> ids;
    for (const QString &name : names)
        ids << db.GetIngID(name);
    const QString idList = QStringLiteral("%1,%2").arg(ids[1]).arg(ids[2]);

    // What a combine changes, to put back between runs: the moved lines and the deleted rows.
    QStringList restore{QStringLiteral("BEGIN")};
    for (auto rs = db.database().OpenRecordset(QStringLiteral("SELECT rowid AS R, IngID FROM DrinkRel WHERE IngID IN (%1)").arg(idList));
         !rs->Eof(); rs->MoveNext())
        restore << QStringLiteral("UPDATE DrinkRel SET IngID = %1 WHERE rowid = %2").arg(rs->value(QStringLiteral("IngID")).toInt()).arg(rs->value(QStringLiteral("R")).toLongLong());
    for (auto rs = db.database().OpenRecordset(QStringLiteral("SELECT ID, Ingredient, Common, Has FROM Ingredients WHERE ID IN (%1)").arg(idList));
         !rs->Eof(); rs->MoveNext())
        restore << QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (%1, '%2', %3, %4)")
                       .arg(rs->value(QStringLiteral("ID")).toInt())
                       .arg(rs->value(QStringLiteral("Ingredient")).toString().replace(QLatin1Char('\''), QStringLiteral("''")))
                       .arg(int(rs->value(QStringLiteral("Common")).toBool()))
                       .arg(int(rs->value(QStringLiteral("Has")).toBool()));
    restore << QStringLiteral("COMMIT");
    const int lines = int(restore.size()) - 2 - 2; // BEGIN, COMMIT and the two rows

    QListWidget list;
    list.addItems(names);
    list.item(0)->setSelected(true);
    const int runs = 7;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        db.IngredientCombine(&list);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (db.GetIngID(names[1]) != 0 || db.database().scalar(QStringLiteral("SELECT count(*) FROM DrinkRel WHERE IngID = %1").arg(ids[0])) == 0)
            qFatal("the combine did not happen");
        exec(db, restore.join(QStringLiteral(";")));
        db.ingredientsTable().Requery();
    }
    std::sort(times.begin(), times.end());
    RawConnection raw(c.path);
    const double floor = medianTime(runs, [&](int) { combineRaw(raw, ids, names); });
    std::printf("# combine_3 %d: %s into %s, %d lines moved\n", c.drinks, qPrintable(names.mid(1).join(QStringLiteral(" and "))),
                qPrintable(names[0]), lines);
    report("combine_3", c.drinks, times[times.size() / 2], floor, runs);
}

void benchDialogOpen(const Context &c)
{
    const int runs = 11;
    int listed = 0;
    const double ours = medianTime(runs, [&](int) {
        frmIngredientMaintenence maintenance(program().mainForm);
        listed = maintenance.lvIngredients->topLevelItemCount();
    });
    if (listed != c.contents.ingredients.size())
        qFatal("the window listed %d ingredients", listed);
    RawConnection raw(c.path);
    const double floor = medianTime(runs, [&](int) { raw.rows("SELECT Ingredient, Common, Has FROM Ingredients"); });
    report("ingredient_dialog_open", c.drinks, ours, floor, runs);
}

// The count a rename asks with, for the ingredient the most drinks use.
void benchRenameCount(const Context &c, CDatabase &db)
{
    QHash<QString, int> uses;
    for (const library::Drink &d : c.contents.drinks)
        for (const library::Line &l : d.lines)
            ++uses[l.ingredient];
    const QString name = std::max_element(uses.keyValueBegin(), uses.keyValueEnd(),
                                          [](const auto &a, const auto &b) { return a.second < b.second; })->first;
    const int runs = 11;
    int counted = 0;
    const double ours = medianTime(runs, [&](int) { counted = IngredientWrites(db).drinksUsing(name); });
    RawConnection raw(c.path);
    const int id = db.GetIngID(name);
    const double floor = medianTime(runs, [&](int) { raw.rows("SELECT count(DISTINCT DrinkID) FROM DrinkRel WHERE IngID = ?", {id}); });
    std::printf("# rename_count %d: %s, in %d drinks\n", c.drinks, qPrintable(name), counted);
    report("rename_count", c.drinks, ours, floor, runs);
}

} // namespace

void benchIngredients(const Context &c)
{
    // The ingredient table is the same 2,000 rows at every size: the window is timed once.
    static bool dialogTimed = false;
    const bool combine = c.wanted("combine_3");
    const bool dialog = c.wanted("ingredient_dialog_open") && !dialogTimed;
    const bool renameCount = c.wanted("rename_count");
    if (!combine && !dialog && !renameCount)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    if (renameCount)
        benchRenameCount(c, db);
    if (combine)
        benchCombine(c, db);
    if (dialog) {
        benchDialogOpen(c);
        dialogTimed = true;
    }
    Form_Unload(form);
}

} // namespace bench
