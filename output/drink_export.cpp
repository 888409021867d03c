// Exporting drinks as a drink library file. The library is read in two ordered queries, all drinks
// and all lines, and the file is written through a temporary file: a failed write leaves the file
// that was there untouched.

#include "output/drink_export.h"

#include "common/busy_cursor.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "common/seams.h"
#include "output/frmExportDrinks.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"
#include "store/engine/library_json.h"
#include "store/engine/statement.h"

#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

namespace {

// Every drink with its lines in their stored order, by name, and every ingredient, by name. Lines
// whose ingredient is gone are left out, as the drink's detail leaves them out.
library::Library readLibrary(CDatabase &db)
{
    library::Library lib;
    engine::Statement ingredients(db.database(), QStringLiteral("SELECT Ingredient, Common, %1 FROM Ingredients "
                                                                "WHERE Ingredient IS NOT NULL ORDER BY Ingredient COLLATE NAMEKEY, ID")
                                                     .arg(db.barListMark()));
    while (ingredients.next())
        lib.ingredients.append({ingredients.text(0), ingredients.integer(1) != 0, ingredients.integer(2) != 0});
    lib.drinks = DrinkStore(db).readAll();
    return lib;
}

// The listed drinks in the list's order, and the ingredients they use.
library::Library onlyListed(library::Library lib, const OutputWindow &list)
{
    QHash<QString, qsizetype> drinkAt;
    for (qsizetype i = lib.drinks.size() - 1; i >= 0; --i)
        drinkAt.insert(nameKey(lib.drinks[i].name), i);
    library::Library listed;
    QSet<QString> used;
    for (int row = 0; row < list.drinkCount(); ++row) {
        const auto at = drinkAt.constFind(nameKey(list.drinkAt(row)));
        if (at == drinkAt.cend())
            continue; // deleted behind the list's back
        for (const library::Line &line : lib.drinks[*at].lines)
            used.insert(line.ingredient);
        listed.drinks.append(std::move(lib.drinks[*at]));
        drinkAt.erase(at); // a name listed twice is written once
    }
    for (library::Ingredient &ing : lib.ingredients) {
        if (used.contains(ing.name))
            listed.ingredients.append(std::move(ing));
    }
    return listed;
}

[[noreturn]] void cannotWrite(const QString &path, const QString &why)
{
    throw EngineError(err::PathFileAccess, QStringLiteral("Cannot write '%1': %2").arg(path, why));
}

void saveFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered: each write meets a full disk itself, not a later flush, so the file is never
    // committed short.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        cannotWrite(path, file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            break; // a short write is no error by itself; the next one says why
        done += written;
    }
    if (done < bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        cannotWrite(path, why);
    }
    if (!file.commit())
        cannotWrite(path, file.errorString());
}

QString chooseFile(OutputWindow &out)
{
    CommonDialog &dialog = out.commonDialog();
    const QString title = dialog.DialogTitle;
    dialog.DialogTitle = QStringLiteral("Export Drinks");
    dialog.Filter = QStringLiteral("Zestro drink library|*.json");
    dialog.Flags = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNHideReadOnly;
    dialog.DefaultExt = QStringLiteral("json");
    dialog.FileName = QStringLiteral("drinks.json");
    try {
        dialog.ShowSave(out.dialogParent());
    } catch (const EngineError &e) {
        dialog.DialogTitle = title;
        if (e.number() == err::DialogCancelled)
            return QString();
        throw;
    }
    dialog.DialogTitle = title;
    return dialog.FileName;
}

} // namespace

void exportDrinks(CDatabase &db)
{
    OutputWindow *out = db.output();
    if (!out)
        return;
    frmExportDrinks choice(out->drinkCount(), out->dialogParent());
    ShowModal(choice);
    if (choice.Value() == 0)
        return;
    const QString path = chooseFile(*out);
    if (path.isEmpty())
        return;

    BusyCursor busy;
    library::Library lib = readLibrary(db);
    if (choice.Value() == 1)
        lib = onlyListed(std::move(lib), *out);
    try {
        saveFile(path, library::libraryJson(lib));
    } catch (const EngineError &e) {
        busy.restore();
        MsgBox(QStringLiteral("There was an error exporting the drinks; the file was not written.\n\n%1: %2")
                   .arg(e.number())
                   .arg(e.description()),
               msgbox::vbExclamation);
        out->setStatusText(QStringLiteral("Drinks not exported."));
        return;
    }
    out->setStatusText(QStringLiteral("Exported %1 %2 to %3.")
                           .arg(lib.drinks.size())
                           .arg(lib.drinks.size() == 1 ? QStringLiteral("drink") : QStringLiteral("drinks"), QFileInfo(path).fileName()));
}
