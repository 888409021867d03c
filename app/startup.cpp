#include "app/startup.h"

#include "app/frmMain.h"
#include "common/CCommonRoutines.h"
#include "common/message_box.h"
#include "common/settings_access.h"
#include "store/CDatabase.h"

#include <QApplication>
#include <QDir>
#include <QStatusBar>

void chooseDatabaseFile(CDatabase &db, const QString &programFolder)
{
    const QString stored = GetSetting(kAppTitle, QStringLiteral("Options"), QStringLiteral("Database"));
    db.setFileName(stored.isEmpty() ? QDir(programFolder).filePath(QStringLiteral("zestro.mdb")) : stored);
}

bool openDatabaseAtStartup(CDatabase &db, frmMain &form)
{
    if (!CCommonRoutines().FileExists(db.FileName())) {
        MsgBox(QStringLiteral("The file '") + db.FileName() + QStringLiteral("' cannot be found.  You can select another ")
                   + QStringLiteral("database by choosing File|Open."),
               msgbox::vbExclamation);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        db.DbOpen();
    } catch (const EngineError &e) {
        QApplication::restoreOverrideCursor();
        MsgBox(QStringLiteral("Error ") + QString::number(e.number()) + QStringLiteral(": ") + e.description(),
               msgbox::vbExclamation);
        return false;
    }
    QApplication::restoreOverrideCursor();
    form.statusBar()->showMessage(db.DrinkCount() + QStringLiteral(" drinks in the library."));
    return true;
}
