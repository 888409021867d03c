// Benchmark of printing: 100 tagged drinks into a PDF file (the job Printer Setup aims at a file),
// the layout and the PDF writing included. The library's own marks are put back afterwards.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/common_dialog.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace bench {

void benchPrinting(const Context &c)
{
    if (!c.wanted("print_100"))
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    RawConnection raw(c.path);

    QStringList marked;
    for (int i = 0; i < c.contents.drinks.size(); ++i) {
        if (c.contents.drinks[i].print)
            marked << QString::number(i + 1);
    }
    // Every 300th drink (every 10th of a small library), so the drinks come from all over the file.
    const int step = std::max(1, int(c.contents.drinks.size() / 100));
    QStringList tagged;
    for (int id = step; id <= c.contents.drinks.size() && tagged.size() < 100; id += step)
        tagged << QString::number(id);
    const auto tag = [&](const QStringList &ids) {
        db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = False"));
        if (!ids.isEmpty())
            db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = True WHERE ID IN (%1)").arg(ids.join(QLatin1Char(','))));
    };
    tag(tagged);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("drinks.pdf"));
    setFileDialogHandler([&](FileDialogKind, CommonDialog &) { return std::optional<QString>(file); });
    form.CommonDialog1.ShowPrinter();
    setFileDialogHandler({});

    const int runs = 5;
    const double ours = medianTime(runs, [&](int) { db.PrintDrinks(); });
    if (QFileInfo(file).size() == 0)
        qFatal("printing wrote no PDF");
    // The floor: the same drinks and their lines read with one statement each.
    const double floor = medianTime(runs, [&](int) {
        raw.rows("SELECT ID, Name, Description, Comments FROM Drinks WHERE Print <> 0");
        raw.rows("SELECT DrinkRel.Amount, Ingredients.Ingredient FROM DrinkRel, Drinks, Ingredients "
                 "WHERE DrinkRel.DrinkID = Drinks.ID AND Drinks.Print <> 0 AND DrinkRel.IngID = Ingredients.ID");
    });
    report("print_100", c.drinks, ours, floor, runs);

    tag(marked);
    Form_Unload(form);
}

} // namespace bench
