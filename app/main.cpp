#include "app/frmMain.h"
#include "app/startup.h"
#include "store/CDatabase.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zestro"));
    QApplication::setApplicationVersion(QStringLiteral("3.1.109"));

    frmMain form;
    CDatabase db;
    db.setOutputForm(&form);
    chooseDatabaseFile(db, QApplication::applicationDirPath());
    form.show();
    openDatabaseAtStartup(db, form);
    const int rc = QApplication::exec();
    db.DbClose();
    return rc;
}
