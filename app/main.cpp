#include "app/frmMain.h"
#include "app/startup.h"
#include "common/version.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>
#include <climits>

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

// The folders of PATH, in order.
std::vector<std::string> pathFolders()
{
    std::vector<std::string> folders;
    const char *path = std::getenv("PATH");
    const std::string text = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(':', start)) != std::string::npos; start = end + 1)
        folders.push_back(end > start ? text.substr(start, end - start) : ".");
    folders.push_back(start < text.size() ? text.substr(start) : ".");
    return folders;
}

bool onPath(const char *program)
{
    for (const std::string &folder : pathFolders())
        if (::access((folder + '/' + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// The command that starts this copy: "zestro" when the PATH finds this very program, else its full
// path (a copy in a build folder).
std::string programCommand()
{
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return "zestro";
    for (const std::string &folder : pathFolders()) {
        char found[PATH_MAX] = {};
        if (::access((folder + "/zestro").c_str(), X_OK) == 0) // the first the shell would run
            return ::realpath((folder + "/zestro").c_str(), found) && std::strcmp(found, self) == 0 ? "zestro" : self;
    }
    return self;
}

// How to start this copy under a virtual X server, with the packages to install first where they
// are missing.
std::string virtualDisplayAdvice()
{
    std::string advice = "    xvfb-run -a " + programCommand() + "\n";
    if (!onPath("xvfb-run") || !onPath("xauth"))
        advice += "(xvfb-run comes with the Debian packages xvfb and xauth: apt-get install xvfb xauth)\n";
    return advice;
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
    // Qt goes to Wayland when only WAYLAND_DISPLAY is set, or when told to.
    const bool wayland = (!isSet("DISPLAY") && isSet("WAYLAND_DISPLAY"))
                         || (isSet("QT_QPA_PLATFORM") && std::strncmp(std::getenv("QT_QPA_PLATFORM"), "wayland", 7) == 0);
    const char *display = wayland ? (isSet("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "wayland-0")
                                  : (isSet("DISPLAY") ? std::getenv("DISPLAY") : "");
    std::fprintf(stderr,
                 "zestro: %s\n"
                 "zestro: Zestro could not start its window on the %s display \"%s\". Check that the %s is "
                 "running and that this user may use it, or run Zestro under a virtual X server:\n%s",
                 qPrintable(text.trimmed()), wayland ? "Wayland" : "X", display, wayland ? "compositor" : "X server",
                 virtualDisplayAdvice().c_str());
    std::_Exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    if (displayMissing(argc, argv)) {
        std::fputs("zestro: Zestro needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY "
                   "are not set).\n"
                   "Start it from a desktop session, or on a machine without a screen run it under a virtual "
                   "X server:\n",
                   stderr);
        std::fputs(virtualDisplayAdvice().c_str(), stderr);
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
