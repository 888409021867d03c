#include "app/frmMain.h"
#include "app/startup.h"
#include "common/version.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kAppId[] = "io.github.zestro.Zestro";

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// Without a display Qt gives up inside QApplication with an abort and a core file; say what is
// wrong before that. A platform named on the command line or in QT_QPA_PLATFORM (offscreen, vnc)
// is the user's own choice and is left to Qt.
bool displayMissing(int argc, char *argv[])
{
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM"))
        return false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (displayMissing(argc, argv)) {
        std::fputs("zestro: Zestro needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY "
                   "are not set).\n"
                   "Start it from a desktop session, or on a machine without a screen run it under a virtual "
                   "X server:\n"
                   "    xvfb-run zestro\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zestro"));
    QApplication::setApplicationVersion(QStringLiteral(ZESTRO_VERSION_TEXT));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QLatin1String(kAppId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zestro.png")));

    auto *form = new frmMain;
    form->setAttribute(Qt::WA_DeleteOnClose);
    Form_Load(*form, QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
