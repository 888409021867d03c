#include "app/backup_commands.h"

#include "app/frmRestoreBackup.h"
#include "common/busy_cursor.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "common/seams.h"
#include "store/CDatabase.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace {

// The name the save dialog proposes: the library's name and today's date.
QString proposedName(const CDatabase &db)
{
    return QFileInfo(db.FileName()).completeBaseName() + QLatin1Char('-') + CurrentDateTime().toString(QStringLiteral("yyyy-MM-dd"))
           + QStringLiteral(".mdb");
}

// The file the user names, or nothing for Cancel.
QString chooseBackupFile(CDatabase &db, OutputWindow &out)
{
    CommonDialog &dialog = out.commonDialog();
    const QString title = dialog.DialogTitle;
    dialog.DialogTitle = QStringLiteral("Back Up Library");
    dialog.Filter = QStringLiteral("Zestro library|*.mdb");
    dialog.Flags = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNHideReadOnly;
    dialog.DefaultExt = QStringLiteral("mdb");
    dialog.FileName = proposedName(db);
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

void backUpLibrary(CDatabase &db)
{
    OutputWindow *out = db.output();
    if (!out)
        return;
    db.database(); // no library open: the command says so before asking for a name
    const QString path = chooseBackupFile(db, *out);
    if (path.isEmpty())
        return;
    BusyCursor busy;
    try {
        db.backUpTo(path);
    } catch (const EngineError &e) {
        busy.restore();
        MsgBox(QStringLiteral("The library was not backed up: %1").arg(e.description()), msgbox::vbExclamation);
        return;
    }
    out->setStatusText(QStringLiteral("Backed up the library to '%1'.").arg(path));
}

void restoreFromBackup(CDatabase &db)
{
    OutputWindow *out = db.output();
    if (!out)
        return;
    db.database();
    db.requireWritable(); // a library that cannot be changed cannot be replaced either: said first
    QList<backups::Entry> entries;
    {
        BusyCursor busy;
        entries = backups::list(db.FileName());
    }
    frmRestoreBackup dialog(entries, out->dialogParent());
    if (ShowModal(dialog) != QDialog::Accepted || dialog.chosenBackup().isEmpty())
        return;
    const QString chosen = dialog.chosenBackup();
    const auto entry = std::find_if(entries.cbegin(), entries.cend(), [&](const backups::Entry &e) { return e.path == chosen; });
    const QString when = entry == entries.cend() ? QFileInfo(chosen).fileName() : QLocale().toString(entry->taken, QLocale::ShortFormat);
    if (MsgBox(QStringLiteral("Replace the library with the backup of %1?  The library as it is now is kept as a backup.").arg(when),
               msgbox::vbYesNo | msgbox::vbQuestion)
        != msgbox::vbYes)
        return;
    BusyCursor busy;
    QString kept;
    try {
        kept = db.restoreBackup(chosen);
    } catch (const EngineError &e) {
        busy.restore();
        if (db.isOpen())
            db.ShowAllDrinks(true);
        out->undoHistoryChanged();
        MsgBox(QStringLiteral("The library was not restored: %1").arg(e.description()), msgbox::vbExclamation);
        return;
    }
    db.ShowAllDrinks(true);
    out->undoHistoryChanged();
    out->setStatusText(QStringLiteral("Restored the library from the backup of %1; the library as it was is kept as '%2'.")
                           .arg(when, QFileInfo(kept).fileName()));
}
