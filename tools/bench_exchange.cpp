// Benchmarks: exporting and importing drink library files through File, Export Drinks (the whole
// library) and File, Import Drinks (the whole library into an empty one). The export floor reads
// the same drinks and lines on a bare connection; the import floor writes the same rows with
// prepared statements in one transaction on a bare connection, without reading any JSON.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "output/frmExportDrinks.h"
#include "store/CDatabase.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace bench {

namespace {

bool wantedAt(const Context &c, const char *operation)
{
    return c.wanted(operation) || c.only.contains(QStringLiteral("%1_%2").arg(QLatin1String(operation)).arg(c.drinks));
}

// A message would stop the clock for a user's answer: the operations must show none.
void refuseMessages()
{
    setMsgBoxHandler([](const QString &text, int, const QString &) -> int { qFatal("unexpected message: %s", qPrintable(text)); });
}

void answerOk()
{
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbOK); });
}

void chooseFile(const QString &path)
{
    setFileDialogHandler([path](FileDialogKind, CommonDialog &) { return std::optional<QString>(path); });
}

void benchExport(const Context &c, const QString &file)
{
    frmMain form;
    startQuietly(form, c.path);
    chooseFile(file);
    setShowModalHandler([](QDialog &dialog) {
        auto &choice = static_cast<frmExportDrinks &>(dialog);
        choice.optOption[1]->setChecked(true);
        choice.cmdButtons[0]->click();
        return choice.result();
    });
    const int runs = 5;
    const double ours = medianTime(runs, [&](int) { form.mnuFile_Click(120); });
    setShowModalHandler({});
    setFileDialogHandler({});
    Form_Unload(form);
    if (library::readLibraryJson(file).drinks.size() != c.drinks)
        qFatal("the export did not write every drink");

    RawConnection raw(c.path);
    const double floor = medianTime(runs, [&](int) {
        raw.rows("SELECT ID, Name, Description, Comments, Tried, Print, Submitted FROM Drinks ORDER BY Name, ID");
        raw.rows("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid");
        raw.rows("SELECT ID, Ingredient, Common, Has FROM Ingredients ORDER BY Ingredient, ID");
    });
    report("export_json", c.drinks, ours, floor, runs);
}

// The rows of the library written with prepared statements in one transaction.
void bareImport(const QString &path, const library::Library &lib)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA key = 'qorvbelz'", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt *ing = nullptr, *drink = nullptr, *line = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (?, ?, ?, 0)", -1, &ing, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO Drinks (ID, Name, Description, Comments, Tried, Print, Submitted) VALUES (?, ?, ?, ?, ?, ?, ?)",
                       -1, &drink, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (?, ?, ?)", -1, &line, nullptr);
    auto text = [](sqlite3_stmt *s, int i, const QString &value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(s, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    };
    QHash<QString, int> ids;
    for (int i = 0; i < lib.ingredients.size(); ++i) {
        ids.insert(lib.ingredients[i].name, i + 1);
        sqlite3_bind_int(ing, 1, i + 1);
        text(ing, 2, lib.ingredients[i].name);
        sqlite3_bind_int(ing, 3, lib.ingredients[i].common);
        sqlite3_step(ing);
        sqlite3_reset(ing);
    }
    for (int i = 0; i < lib.drinks.size(); ++i) {
        const library::Drink &d = lib.drinks[i];
        sqlite3_bind_int(drink, 1, i + 1);
        text(drink, 2, d.name);
        text(drink, 3, d.directions);
        text(drink, 4, d.comments.toString());
        sqlite3_bind_int(drink, 5, d.tried);
        sqlite3_bind_int(drink, 6, d.print);
        sqlite3_bind_int(drink, 7, d.submitted);
        sqlite3_step(drink);
        sqlite3_reset(drink);
        for (const library::Line &l : d.lines) {
            sqlite3_bind_int(line, 1, i + 1);
            sqlite3_bind_int(line, 2, ids.value(l.ingredient));
            text(line, 3, l.amount);
            sqlite3_step(line);
            sqlite3_reset(line);
        }
    }
    for (sqlite3_stmt *s : {ing, drink, line})
        sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
}

void benchImport(const Context &c, const QString &file, const QString &folder)
{
    const QString empty = folder + QStringLiteral("/empty.mdb"), target = folder + QStringLiteral("/import.mdb");
    library::writeLibrary(empty, library::Library());
    const int runs = 3;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(target);
        QFile::copy(empty, target);
        frmMain form;
        answerOk();
        startQuietly(form, target); // tells that no drink is listed
        chooseFile(file);
        refuseMessages();
        times.push_back(medianTime(1, [&](int) { form.mnuFile_Click(110); }));
        setFileDialogHandler({});
        if (program().database->DrinkCount().toInt() != c.drinks)
            qFatal("the import did not add every drink");
        Form_Unload(form);
        QFile::remove(target + QStringLiteral(".lock"));
    }
    std::sort(times.begin(), times.end());
    const double floor = medianTime(runs, [&](int) {
        QFile::remove(target);
        QFile::copy(empty, target);
        bareImport(target, c.contents);
    });
    report("import_json", c.drinks, times[times.size() / 2], floor, runs);
}

} // namespace

void benchExchange(const Context &c)
{
    const bool exporting = wantedAt(c, "export_json"), importing = wantedAt(c, "import_json");
    if (!exporting && !importing)
        return;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("drinks.json"));
    refuseMessages();
    if (exporting) {
        benchExport(c, file);
    } else {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(library::libraryJson(c.contents)) < 0)
            qFatal("cannot write %s", qPrintable(file));
    }
    if (importing)
        benchImport(c, file, dir.path());
    answerOk();
}

} // namespace bench
