#include "app/frmMain.h"
#include "app/startup.h"
#include "common/version.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

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

// DISPLAY names an X server that cannot be reached (gone, or refusing this user): Qt would abort
// there too. libxcb is asked directly, loaded at run time as Qt's own X plugin loads it. A
// system without libxcb has no X plugin either, and Qt says so itself.
bool displayUnreachable()
{
    if (!isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM"))
        return false;
    void *xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool unreachable = false;
    if (connect && hasError && disconnect) {
        void *connection = connect(nullptr, nullptr);
        unreachable = hasError(connection) != 0;
        disconnect(connection);
    }
    // Kept loaded: Qt's X plugin links the same library, and unloading it here made Qt's own
    // connection fail.
    return unreachable;
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
    if (displayUnreachable()) {
        std::fprintf(stderr,
                     "zestro: Zestro could not connect to the display \"%s\" named by DISPLAY.\n"
                     "Check that the X server is running and that this user may use it, or run Zestro under "
                     "a virtual X server:\n"
                     "    xvfb-run zestro\n",
                     std::getenv("DISPLAY"));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zestro"));
    QApplication::setApplicationVersion(QStringLiteral(ZESTRO_VERSION_TEXT));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QLatin1String(kAppId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zestro.png")));
    // Ties the windows to the installed desktop entry, whose icon the desktop then shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zestro.Zestro"));

    auto *form = new frmMain;
    form->setAttribute(Qt::WA_DeleteOnClose);
    Form_Load(*form, QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
