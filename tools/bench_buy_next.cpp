// Benchmarks of what to buy next: reading the library and ranking every ingredient not at hand with
// slack 1, and the dialog opening with its list filled.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/program_objects.h"
#include "search/buy_next.h"
#include "search/frmBuyNext.h"
#include "store/CDatabase.h"

#include <QTreeWidget>

namespace bench {

void benchBuyNext(const Context &c)
{
    const bool ranking = c.wanted("buy_next");
    const bool dialog = c.wanted("buy_next_dialog");
    if (!ranking && !dialog)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    const int runs = 11;

    if (ranking) {
        size_t ranked = 0;
        const double ours = medianTime(runs, [&](int) {
            ranked = buynext::rankChoices(buynext::readLibrary(db.database()), 1).size();
        });
        if (ranked == 0)
            qFatal("no ingredient was ranked");
        // The floor: the same three reads on a bare connection, nothing ranked.
        RawConnection raw(c.path);
        const double floor = medianTime(runs, [&](int) {
            raw.rows("SELECT ID, Ingredient, Common, Has FROM Ingredients");
            raw.rows("SELECT ID, Name FROM Drinks");
            raw.rows("SELECT DrinkID, IngID FROM DrinkRel ORDER BY DrinkID");
        });
        report("buy_next", c.drinks, ours, floor, runs);
    }
    if (dialog) {
        int rows = 0;
        const double ours = medianTime(runs, [&](int) {
            frmBuyNext buyNext(db, &form);
            rows = buyNext.lvBuyNext->topLevelItemCount();
        });
        if (rows == 0)
            qFatal("the dialog listed no ingredient");
        report("buy_next_dialog", c.drinks, ours, -1, runs);
    }
    Form_Unload(form);
}

} // namespace bench
