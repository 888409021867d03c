#include "app/frmMain.h"
#include "app/startup.h"
#include "common/version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zestro"));
    QApplication::setApplicationVersion(QStringLiteral(ZESTRO_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zestro.png")));
    // Ties the windows to the installed desktop entry, whose icon the desktop then shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zestro.Zestro"));

    auto *form = new frmMain;
    form->setAttribute(Qt::WA_DeleteOnClose);
    Form_Load(*form, QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
