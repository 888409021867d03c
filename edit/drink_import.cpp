// Importing a drink library file into the open library. The file is read and checked whole, the
// questions about taken names are asked, and only then is anything written: every drink, line and
// new ingredient in one transaction, through prepared statements, so a bad file, a Cancel or a
// failure part-way leaves the library as it was.

#include "edit/drink_import.h"

#include "common/busy_cursor.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "common/seams.h"
#include "edit/frmImportConflict.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"
#include "store/engine/library_json.h"
#include "store/engine/statement.h"
#include "store/write_transaction.h"

#include <QFileInfo>
#include <QHash>
#include <QProgressDialog>
#include <QSet>

namespace {

std::function<void(QProgressDialog &)> &progressHook()
{
    static std::function<void(QProgressDialog &)> hook;
    return hook;
}

// Drinks written between two looks at the progress dialog.
constexpr int kProgressStep = 250;

struct HeldDrink {
    int id;
    QString name;
};

// The open library's names: the first row of each name key, and the highest keys in use.
struct Held {
    QHash<QString, HeldDrink> drinks;
    QHash<QString, int> ingredientId;
    int lastDrinkId = 0;
    int lastIngredientId = 0;
};

// Rows are walked from the highest ID down, so a name held twice keeps its lowest ID.
Held readHeld(CDatabase &database)
{
    Held held;
    for (const auto &[id, name] : DrinkStore(database).keysAndNames()) {
        held.lastDrinkId = qMax(held.lastDrinkId, int(id));
        if (!name.isNull())
            held.drinks.insert(nameKey(name.toString()), {id, name.toString()});
    }
    engine::Database &db = database.database();
    engine::Statement ingredients(db, QStringLiteral("SELECT ID, Ingredient FROM Ingredients ORDER BY ID DESC"));
    while (ingredients.next()) {
        const int id = int(ingredients.integer(0));
        held.lastIngredientId = qMax(held.lastIngredientId, id);
        if (!ingredients.isNull(1))
            held.ingredientId.insert(nameKey(ingredients.text(1)), id);
    }
    return held;
}

// What the import does: for each drink of the file the ID it is written under (0: skipped) and
// whether that replaces a drink; the file's ingredients to create.
struct Plan {
    QList<int> drinkId;
    QList<bool> replaces;
    QList<int> newIngredients; // indexes into the file's list
    int added = 0, replaced = 0, skipped = 0;
};

// Asks about each taken name until an "All" answer; false when the user stopped the import.
bool decide(const library::Library &lib, const Held &held, QWidget *parent, Plan &plan)
{
    int answerForAll = frmImportConflict::Cancel;
    int nextId = held.lastDrinkId;
    for (const library::Drink &d : lib.drinks) {
        const auto taken = held.drinks.constFind(nameKey(d.name));
        if (taken == held.drinks.cend()) {
            plan.drinkId << ++nextId;
            plan.replaces << false;
            ++plan.added;
            continue;
        }
        int answer = answerForAll;
        if (answer == frmImportConflict::Cancel) {
            frmImportConflict question(taken->name, parent, d.name);
            answer = ShowModal(question);
            if (answer == frmImportConflict::ReplaceAll || answer == frmImportConflict::SkipAll)
                answerForAll = answer;
        }
        if (answer == frmImportConflict::Cancel)
            return false;
        const bool replace = answer == frmImportConflict::Replace || answer == frmImportConflict::ReplaceAll;
        plan.drinkId << (replace ? taken->id : 0);
        plan.replaces << replace;
        ++(replace ? plan.replaced : plan.skipped);
    }
    // The file's ingredients the library lacks, unless only skipped drinks use them. Lines spell
    // their ingredient as the file's list does.
    QSet<QString> used, usedByImported;
    for (qsizetype i = 0; i < lib.drinks.size(); ++i) {
        for (const library::Line &line : lib.drinks[i].lines) {
            used.insert(line.ingredient);
            if (plan.drinkId[i] != 0)
                usedByImported.insert(line.ingredient);
        }
    }
    for (qsizetype i = 0; i < lib.ingredients.size(); ++i) {
        const QString &name = lib.ingredients[i].name;
        if (!held.ingredientId.contains(nameKey(name)) && (usedByImported.contains(name) || !used.contains(name)))
            plan.newIngredients << int(i);
    }
    return true;
}

// Keys are 16-bit: an import that would pass the last one is refused before anything is written.
void checkRoom(const Held &held, const Plan &plan)
{
    auto refuse = [](const QString &what, int count, int last) {
        throw EngineError(err::Overflow, QStringLiteral("Overflow: the import would add %1 %2, but the library has room for "
                                                        "only %3 more (its highest number is %4 and can be at most %5).  "
                                                        "Nothing was imported.")
                                             .arg(count)
                                             .arg(what)
                                             .arg(library::kMaxLibraryKey - last)
                                             .arg(last)
                                             .arg(library::kMaxLibraryKey));
    };
    if (held.lastDrinkId + plan.added > library::kMaxLibraryKey)
        refuse(QStringLiteral("drinks"), plan.added, held.lastDrinkId);
    if (held.lastIngredientId + plan.newIngredients.size() > library::kMaxLibraryKey)
        refuse(QStringLiteral("ingredients"), int(plan.newIngredients.size()), held.lastIngredientId);
}

// Writes the plan in the caller's transaction; false when the user cancelled part-way.
bool write(engine::Database &db, bool withBarList, const library::Library &lib, Held &held, const Plan &plan, QProgressDialog &progress)
{
    // A new ingredient comes with the file's bar tick; one the library has keeps its own. An older
    // file without the bar-list column (read as it is) takes the ingredient without it.
    engine::Statement addIngredient(db, withBarList ? QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (?, ?, ?, ?)")
                                                    : QStringLiteral("INSERT INTO Ingredients (ID, Ingredient, Common) VALUES (?, ?, ?)"));
    int nextIngredientId = held.lastIngredientId;
    for (const int i : plan.newIngredients) {
        const library::Ingredient &ing = lib.ingredients[i];
        addIngredient.bind(1, ++nextIngredientId).bind(2, ing.name).bind(3, ing.common);
        if (withBarList)
            addIngredient.bind(4, ing.has);
        addIngredient.run();
        held.ingredientId.insert(nameKey(ing.name), nextIngredientId);
    }
    // The ID of each ingredient as the file's lines spell it.
    QHash<QString, int> ingredientId;
    for (const library::Ingredient &ing : lib.ingredients)
        ingredientId.insert(ing.name, held.ingredientId.value(nameKey(ing.name)));
    DrinkStore::BulkWriter drinks(db);
    // Lines left behind by drinks that once had the numbers the new drinks get must not join them.
    drinks.dropLinesAbove(held.lastDrinkId);
    for (qsizetype i = 0; i < lib.drinks.size(); ++i) {
        if (i % kProgressStep == 0) {
            progress.setValue(int(i));
            if (progressHook())
                progressHook()(progress);
            if (progress.wasCanceled())
                return false;
        }
        const int id = plan.drinkId[i];
        if (id == 0)
            continue;
        Drink d = lib.drinks[i];
        for (Drink::Line &line : d.lines)
            line.ingredientKey = qint16(ingredientId.value(line.ingredient));
        if (plan.replaces[i])
            drinks.replace(id, d);
        else
            drinks.add(id, d);
    }
    progress.setValue(progress.maximum());
    return true;
}

QString plural(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

void setImportProgressHook(std::function<void(QProgressDialog &)> hook)
{
    progressHook() = std::move(hook);
}

void importDrinks(CDatabase &db)
{
    OutputWindow *out = db.output();
    if (!out)
        return;
    CommonDialog &dialog = out->commonDialog();
    const QString title = dialog.DialogTitle;
    dialog.DialogTitle = QStringLiteral("Import Drinks");
    dialog.Filter = QStringLiteral("Zestro drink library|*.json|All files|*");
    dialog.Flags = CommonDialog::cdlOFNFileMustExist | CommonDialog::cdlOFNHideReadOnly;
    dialog.DefaultExt = QStringLiteral("json");
    try {
        dialog.ShowOpen(out->dialogParent());
        dialog.DialogTitle = title;
    } catch (const EngineError &e) {
        dialog.DialogTitle = title;
        if (e.number() == err::DialogCancelled)
            return;
        throw;
    }
    const QString path = dialog.FileName;

    BusyCursor busy;
    library::Library lib;
    try {
        lib = library::readLibraryJson(path);
    } catch (const EngineError &e) {
        busy.restore();
        MsgBox(e.description() + QStringLiteral("\n\nNothing was imported."), msgbox::vbExclamation);
        out->setStatusText(QStringLiteral("Drinks not imported."));
        return;
    }
    engine::Database &database = db.database();
    Held held = readHeld(db);
    busy.restore();
    Plan plan;
    if (!decide(lib, held, out->dialogParent(), plan)) {
        out->setStatusText(QStringLiteral("Import stopped; nothing was imported."));
        return;
    }
    checkRoom(held, plan);

    QProgressDialog progress(QStringLiteral("Importing %1...").arg(plural(int(lib.drinks.size()), "drink", "drinks")),
                             QStringLiteral("Cancel"), 0, int(lib.drinks.size()), out->dialogParent());
    progress.setObjectName(QStringLiteral("dlgImportProgress"));
    progress.setWindowTitle(QStringLiteral("Import Drinks"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    {
        UndoStep step(db, QStringLiteral("Import Drinks"));
        WriteTransaction transaction(db);
        try {
            if (!write(database, db.hasBarListColumn(), lib, held, plan, progress)) {
                out->setStatusText(QStringLiteral("Import cancelled; nothing was imported."));
                return;
            }
            transaction.commit();
        } catch (const EngineError &e) {
            throw EngineError(e.number(), e.description() + QStringLiteral("  Nothing was imported."));
        }
    }
    progress.reset();
    // The table sets read the file again: their keys do not know the rows written past them.
    db.drinksTable().Requery();
    db.ingredientsTable().Requery();
    db.drinkRelTable().Requery();
    db.ShowAllDrinks(true);
    // Spellings of one ingredient that the file's list repeats were read as the first one.
    const QString merged = lib.mergedSpellings == 0
                               ? QString()
                               : QStringLiteral(", %1 merged").arg(plural(lib.mergedSpellings, "other spelling", "other spellings"));
    out->setStatusText(QStringLiteral("Imported %1: %2 added, %3 replaced, %4 skipped; %5 created%6.")
                           .arg(QFileInfo(path).fileName(), plural(plan.added, "drink", "drinks"))
                           .arg(plan.replaced)
                           .arg(plan.skipped)
                           .arg(plural(int(plan.newIngredients.size()), "ingredient", "ingredients"), merged));
}
