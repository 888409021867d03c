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

// DISPLAY names an X server that cannot be reached (gone, or refusing this user): Qt ends the
// program from inside QApplication with a fatal message and an abort. Until the application stands,
// a fatal message is shown with advice and ends the program with status 1, without a core file.
// (A test connection of our own before Qt's made Qt's connection fail now and then.)
QtMessageHandler qtHandler = nullptr;

void startupMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        if (qtHandler)
            qtHandler(type, context, text);
        return;
    }
    std::fprintf(stderr,
                 "zestro: %s\n"
                 "zestro: Zestro could not start its window on the display \"%s\". Check that the X server is "
                 "running and that this user may use it, or run Zestro under a virtual X server:\n"
                 "    xvfb-run zestro\n",
                 qPrintable(text.trimmed()), isSet("DISPLAY") ? std::getenv("DISPLAY") : "");
    std::_Exit(1);
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
    qtHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
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
