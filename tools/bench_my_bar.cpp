// Benchmarks of the My Bar window: opening it with every ingredient listed, and OK storing 200
// changed ticks.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/program_objects.h"
#include "search/frmMyBar.h"
#include "store/CDatabase.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QListView>
#include <algorithm>
#include <vector>

namespace bench {

void benchMyBar(const Context &c)
{
    const bool open = c.wanted("my_bar_open");
    const bool save = c.wanted("my_bar_save_200");
    if (!open && !save)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    const int runs = 11;

    if (open) {
        int rows = 0;
        const double ours = medianTime(runs, [&](int) {
            frmMyBar bar(db, &form);
            rows = bar.lstIngredients->model()->rowCount();
        });
        if (rows != int(c.contents.ingredients.size()))
            qFatal("the window listed %d of %d ingredients", rows, int(c.contents.ingredients.size()));
        RawConnection raw(c.path);
        const double floor = medianTime(runs, [&](int) { raw.rows("SELECT ID, Ingredient, Common, Has FROM Ingredients"); });
        report("my_bar_open", c.drinks, ours, floor, runs);
    }
    if (save) {
        // The same 200 rows each run, ticked on one run and off the next: 200 changes every time,
        // and an even number of runs leaves the library's bar list as it was. Only OK is timed.
        const int saveRuns = 10;
        QList<int> ids;
        std::vector<double> times;
        for (int run = 0; run < saveRuns; ++run) {
            frmMyBar bar(db, &form);
            QAbstractItemModel *model = bar.lstIngredients->model();
            int ticked = 0;
            for (int row = 0; row < model->rowCount() && ticked < 200; ++row) {
                const QModelIndex index = model->index(row, 0);
                if (!(model->flags(index) & Qt::ItemIsUserCheckable))
                    continue;
                const bool has = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                ticked += model->setData(index, has ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            }
            ids.clear();
            for (const OnHandChange &change : bar.changes())
                ids << change.ingredientId;
            QElapsedTimer timer;
            timer.start();
            bar.cmdOK_Click();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (bar.saved().size() != 200)
                qFatal("%d ticks saved, not 200", int(bar.saved().size()));
        }
        std::sort(times.begin(), times.end());
        // The floor: the 200 flags flipped by one statement in one transaction.
        QString list;
        for (int id : ids)
            list += (list.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(id);
        const QByteArray flip = QStringLiteral("UPDATE Ingredients SET Has = 1 - Has WHERE ID IN (%1)").arg(list).toUtf8();
        RawConnection raw(c.path);
        const double floor = medianTime(saveRuns, [&](int) {
            raw.exec("BEGIN IMMEDIATE");
            raw.exec(flip.constData());
            raw.exec("COMMIT");
        });
        report("my_bar_save_200", c.drinks, times[times.size() / 2], floor, saveRuns);
    }
    Form_Unload(form);
}

} // namespace bench
