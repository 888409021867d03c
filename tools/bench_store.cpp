// Benchmarks of the store: opening, the record lookups and compaction.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "store/CDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <random>
#include <unistd.h>

namespace bench {

namespace {

void benchOpen(const Context &c)
{
    const int runs = 7;
    frmMain form;
    const double ours = medianTime(runs, [&](int) {
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(c.path);
        db.DbOpen();
        db.DbClose();
    });
    const double floor = medianTime(runs, [&](int) { RawConnection raw(c.path); });
    report("open", c.drinks, ours, floor, runs);
}

void benchLookups(const Context &c)
{
    const int runs = 101;
    CDatabase db;
    db.setFileName(c.path);
    db.DbOpen();
    RawConnection raw(c.path);
    std::mt19937 rng(42);
    std::vector<QString> drinkNames, ingredientNames;
    for (int i = 0; i < runs; ++i) {
        drinkNames.push_back(c.contents.drinks[int(rng() % c.contents.drinks.size())].name);
        ingredientNames.push_back(c.contents.ingredients[int(rng() % c.contents.ingredients.size())].name);
    }
    const int ingredientCount = int(c.contents.ingredients.size());

    if (c.wanted("DoesDrinkExist")) {
        const double ours = medianTime(runs, [&](int i) { db.DoesDrinkExist(drinkNames[size_t(i)]); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT rowid FROM Drinks WHERE Name = ? LIMIT 1", {drinkNames[size_t(i)]});
        });
        report("DoesDrinkExist", c.drinks, ours, floor, runs);
    }
    if (c.wanted("GetIngID")) {
        const double ours = medianTime(runs, [&](int i) { db.GetIngID(ingredientNames[size_t(i)]); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT ID FROM Ingredients WHERE Ingredient = ?", {ingredientNames[size_t(i)]});
        });
        report("GetIngID", c.drinks, ours, floor, runs);
    }
    if (c.wanted("GetIngName")) {
        const double ours = medianTime(runs, [&](int i) { db.GetIngName(qint16(1 + (i * 37) % ingredientCount)); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT Ingredient FROM Ingredients WHERE ID = ?", {1 + (i * 37) % ingredientCount});
        });
        report("GetIngName", c.drinks, ours, floor, runs);
    }
    if (c.wanted("DrinkCount")) {
        const double ours = medianTime(runs, [&](int) { db.DrinkCount(); });
        const double floor = medianTime(runs, [&](int) { raw.rows("SELECT count(*) FROM Drinks"); });
        report("DrinkCount", c.drinks, ours, floor, runs);
    }
}

void benchCompact(const Context &c)
{
    const int runs = 3;
    // A copy, so the other figures keep their own file.
    const QString path = QFileInfo(c.path).dir().filePath(QStringLiteral("compact%1.mdb").arg(c.drinks));
    QFile::remove(path);
    QFile::copy(c.path, path);
    frmMain form;
    CDatabase db;
    db.setOutputWindow(&form);
    db.setFileName(path);
    db.DbOpen();
    const double ours = medianTime(runs, [&](int) { db.DbCompact(); });
    db.DbClose();
    // The bare engine operation: export to a new keyed file without a journal, flushed once.
    const QString copy = path + QStringLiteral(".export");
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(copy) + "' AS compacted KEY 'qorvbelz'";
    const double floor = medianTime(runs, [&](int) {
        QFile::remove(copy);
        QFile created(copy); // ATTACH cannot create the file on a connection opened without CREATE
        created.open(QIODevice::WriteOnly);
        created.close();
        RawConnection raw(path);
        raw.exec(attach.constData());
        raw.exec("PRAGMA compacted.journal_mode = OFF");
        raw.exec("PRAGMA compacted.synchronous = OFF");
        raw.exec("SELECT sqlcipher_export('compacted')");
        raw.exec("DETACH DATABASE compacted");
        QFile done(copy);
        done.open(QIODevice::ReadOnly);
        ::fsync(done.handle());
    });
    QFile::remove(copy);
    QFile::remove(path);
    report("compact", c.drinks, ours, floor, runs);
}

} // namespace

void benchStore(const Context &c)
{
    if (c.wanted("open"))
        benchOpen(c);
    benchLookups(c);
    if (c.wanted("compact"))
        benchCompact(c);
}

} // namespace bench
