// Benchmarks of the bar list: matching with one missing line allowed, list fill included, and
// importing a bar-list file of 2,000 known names.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/common_dialog.h"
#include "common/program_objects.h"
#include "core/settings_access.h"
#include "store/CDatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace bench {

namespace {

const char *const kLinesByDrink = "SELECT DrinkRel.DrinkID,DrinkRel.IngID,Ingredients.Common,Ingredients.Has "
                                  "FROM DrinkRel,Ingredients WHERE DrinkRel.IngID=Ingredients.ID ORDER BY DrinkRel.DrinkID";

// The bare marking: clear, then one UPDATE by name a line, in one transaction.
void markByName(RawConnection &raw, const QStringList &names)
{
    raw.exec("BEGIN IMMEDIATE");
    raw.rows("UPDATE Ingredients SET Has = 0 WHERE Has <> 0");
    for (const QString &name : names)
        raw.rows("UPDATE Ingredients SET Has = 1 WHERE Ingredient = ?", {name});
    raw.exec("COMMIT");
}

} // namespace

void benchBarList(const Context &c)
{
    const bool match = c.wanted("barlist_slack1");
    const bool import = c.wanted("import_bar_2000");
    if (!match && !import)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    RawConnection raw(c.path);

    if (match) {
        const int runs = 11;
        const double ours = medianTime(runs, [&](int) { db.BarList(1); });
        const double floor = medianTime(runs, [&](int) { raw.rows(kLinesByDrink); });
        report("barlist_slack1", c.drinks, ours, floor, runs);
    }
    if (import) {
        QStringList all, marked;
        for (const library::Ingredient &i : c.contents.ingredients) {
            all << i.name;
            if (i.has)
                marked << i.name;
        }
        const QStringList names = all.mid(0, 2000);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("bench.bar"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write((names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()) < 0)
            qFatal("cannot write %s", qPrintable(file));
        out.close();
        setFileDialogHandler([&](FileDialogKind, CommonDialog &) { return std::optional<QString>(file); });
        const int runs = 5;
        bool imported = true;
        const double ours = medianTime(runs, [&](int) { imported &= db.BarlistImport(); });
        setFileDialogHandler({});
        if (!imported)
            qFatal("the bar-list import failed");
        const double floor = medianTime(runs, [&](int) { markByName(raw, names); });
        report("import_bar_2000", c.drinks, ours, floor, runs);
        markByName(raw, marked); // the library's own bar list, for the other figures
    }
    Form_Unload(form);
}

} // namespace bench
