#include "app/startup.h"

#include "common/CZestro30.h"
#include "app/frmMain.h"
#include "app/frmSplash2.h"
#include "app/help_window.h"
#include "app/user_library.h"
#include "app/window_state.h"
#include "common/CCommonRoutines.h"
#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "core/product_info.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "common/string_table.h"
#include "store/CDatabase.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScopeGuard>
#include <exception>

namespace {

// Opens the store's file with the hourglass showing; on failure the store stays closed.
void openWithBusyPointer(CDatabase &db)
{
    BusyCursor busy;
    db.DbOpen();
    QCoreApplication::processEvents();
}

// Clears the note of a start in progress when the window first shows, then leaves.
class OpeningMarkClearer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            SaveSetting(kAppTitle, QStringLiteral("Options"), QStringLiteral("OpeningDatabase"), QString());
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void Form_Load(frmMain &form, const QString &commandLine)
{
    ProgramObjects &p = program();
    p.commonRoutines = new CCommonRoutines;
    p.settings = new CZestro30;
    p.database = new CDatabase;
    p.mainForm = &form;

    form.CommonDialog1.HelpFile = QDir(DataFolder()).filePath(QStringLiteral("zestro_help.html"));
    setHelpHandler(showHelpWindow);
    setGuardedFile([] { return program().database ? program().database->FileName() : QString(); });
    setDialogHelp([&form](QDialog &dialog) { showDialogHelp(dialog, form.CommonDialog1.HelpFile); });
    p.commonRoutines->MakeToolbarFlat(form.Toolbar1);
    p.database->setOutputWindow(&form);

    const QString settingsProblem = setAsideUnreadableSettings(kAppTitle);
    if (!settingsProblem.isEmpty())
        MsgBox(settingsProblem, msgbox::vbExclamation);

    const QString line = commandLine.toLower();
    p.maintainerA = line.contains(QLatin1String("vexo"));
    p.maintainerB = line.contains(QLatin1String("kymp"));
    const bool maintainer = p.maintainerA || p.maintainerB;
    form.menuItem(QStringLiteral("mnuTools"), 499)->setVisible(maintainer);
    form.menuItem(QStringLiteral("mnuTools"), 500)->setVisible(maintainer);
    if (!maintainer) {
        frmSplash2::showSplash();
        QCoreApplication::processEvents();
    }

    form.menuItem(QStringLiteral("mnuHelp"), 10)->setText(kAppTitle + QStringLiteral(" &Help Topics"));
    p.commonRoutines->LoadResStrings(&form);
    form.menuItem(QStringLiteral("mnuEdit"), 5)->setText(LoadResString(170));

    const QString stored = GetSetting(kAppTitle, QStringLiteral("Options"), QStringLiteral("Database"));
    QString notMade;
    p.database->setFileName(stored.isEmpty() ? provideUserLibrary(&notMade) : stored);
    p.commonRoutines->CenterForm(&form);
    restoreWindowState(form);

    // Only a name with nothing behind it is missing; a folder, a device or a damaged file gets the
    // reason the open gives.
    if (!QFileInfo::exists(p.database->FileName())) {
        form.show();
        MsgBox((notMade.isEmpty() ? QStringLiteral("The file '") + p.database->FileName() + QStringLiteral("' cannot be found.")
                                  : notMade)
                   + QStringLiteral("  You can select another database by choosing File|Open."),
               msgbox::vbExclamation);
        return;
    }
    // A start that ends (a crash, a kill, a hang cut short) while a file is opening leaves the
    // file's name behind; the next start asks before trying that file again.
    const QString opening = QStringLiteral("OpeningDatabase");
    const QString file = p.database->FileName();
    if (GetSetting(kAppTitle, QStringLiteral("Options"), opening) == file) {
        form.show();
        if (MsgBox(QStringLiteral("The last start of Zestro did not finish while it was opening '") + file
                       + QStringLiteral("'.  The file may be damaged or hold something Zestro cannot read.\n\nOpen it again?"),
                   msgbox::vbYesNo | msgbox::vbQuestion)
            != msgbox::vbYes) {
            SaveSetting(kAppTitle, QStringLiteral("Options"), opening, QString());
            form.setStatusText(QStringLiteral("No database is open.  You can select one by choosing File|Open."));
            return;
        }
    }
    SaveSetting(kAppTitle, QStringLiteral("Options"), opening, file);
    // The window first shows once the library is open and listed: the start got through the file,
    // whatever the tip of the day shown after it, or the user, does next.
    form.installEventFilter(new OpeningMarkClearer(&form));
    const auto reached = qScopeGuard([&] {
        if (std::uncaught_exceptions() == 0) // the window was reached, with or without a database
            SaveSetting(kAppTitle, QStringLiteral("Options"), opening, QString());
    });
    try {
        openWithBusyPointer(*p.database);
    } catch (const EngineError &e) {
        // A damaged, foreign or wrongly keyed file must not lock the user out at every start:
        // say why and go on without a database, so that File, Open can choose another.
        form.show();
        ShowEngineError(e);
        return;
    }
    try {
        p.settings->StartupOptions();
    } catch (const EngineError &e) {
        form.show();
        ShowEngineError(e);
    }
}

void Form_Unload(frmMain &form)
{
    ProgramObjects &p = program();
    if (p.database) {
        saveWindowState(form);
        p.database->DbClose();
    }
    delete p.settings;
    delete p.database;
    delete p.commonRoutines;
    p.settings = nullptr;
    p.database = nullptr;
    p.commonRoutines = nullptr;
    p.mainForm = nullptr;

    QStringList leftOpen;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget *w = *it;
        if (w == &form || !w->isVisible() || qobject_cast<QMenu *>(w) || w->windowType() == Qt::ToolTip)
            continue;
        if (qobject_cast<HelpWindow *>(w) || qobject_cast<frmSplash2 *>(w)) {
            w->close(); // a reference kept open beside the program, or the splash: not a form left behind
            continue;
        }
        leftOpen << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
        w->close();
    }
    if (!leftOpen.isEmpty())
        MsgBox(QStringLiteral("Zestro could not unload the following forms.  Please let Dravo know ") + QStringLiteral("at ")
                   + kSupportAddress + QStringLiteral(".  Thanks!") + QStringLiteral("\n\n") + leftOpen.join(QLatin1Char('\n'))
                   + QLatin1Char('\n'),
               msgbox::vbInformation);
}

void openAnotherDatabase(frmMain &form)
{
    CDatabase &db = *program().database;
    CommonDialog &dialog = form.CommonDialog1;
    dialog.Flags = CommonDialog::cdlOFNFileMustExist | CommonDialog::cdlOFNHideReadOnly;
    dialog.DefaultExt = QStringLiteral(".mdb");
    dialog.Filter = QStringLiteral("Zestro Database|*.mdb");
    // Other libraries are most likely kept beside the one in use: the program's folder for a
    // built copy, the user's data folder for an installed one.
    dialog.InitDir = db.FileName().isEmpty() ? ProgramFolder() : QFileInfo(db.FileName()).absolutePath();
    try {
        dialog.ShowOpen(&form);
        dialog.InitDir.clear(); // the other file dialogs start where they choose
    } catch (const EngineError &e) {
        dialog.InitDir.clear();
        if (e.number() == err::DialogCancelled)
            return;
        throw;
    }

    const QString previous = db.FileName();
    const bool hadDatabase = db.isOpen();
    BusyCursor busy;
    try {
        db.DbClose();
        db.setFileName(dialog.FileName);
        db.DbOpen();
        db.ShowAllDrinks(true);
        return;
    } catch (const EngineError &e) {
        busy.restore();
        // The chosen file is bad. Keep the settings pointing at the file that worked and go back to
        // it, instead of ending here and failing again at the next start.
        db.setFileName(previous);
        if (!hadDatabase) {
            ShowEngineError(e, QStringLiteral("Open error"));
            return;
        }
        try {
            openWithBusyPointer(db);
            db.ShowAllDrinks(true);
        } catch (const EngineError &) {
            MsgBox(QStringLiteral("Error opening database.  Exiting program."), msgbox::vbExclamation, QStringLiteral("Open error"));
            EndProgram(1);
        }
        ShowEngineError(e, QStringLiteral("Open error"));
    }
}
