#include "common/seams.h"

#include "common/install_paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QTime>
#include <QUrl>
#include <chrono>
#include <random>

namespace {
std::function<int(QDialog &)> &modalHandler()
{
    static std::function<int(QDialog &)> handler;
    return handler;
}
std::function<void(QDialog &)> &dialogHelp()
{
    static std::function<void(QDialog &)> help;
    return help;
}
std::function<void(const QUrl &)> &urlOpener()
{
    static std::function<void(const QUrl &)> opener;
    return opener;
}
std::function<double()> &clockSource()
{
    static std::function<double()> clock;
    return clock;
}
std::function<QDateTime()> &dateTimeSource()
{
    static std::function<QDateTime()> source;
    return source;
}
std::function<double()> &randomSource()
{
    static std::function<double()> source;
    return source;
}
std::mt19937 &generator()
{
    static std::mt19937 rng(std::random_device{}());
    return rng;
}
QString &programFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

int ShowModal(QDialog &dialog)
{
    if (modalHandler())
        return modalHandler()(dialog);
    // The main window's help key is out of reach while a dialog is up: the dialog gets its own.
    const QString helpKey = QStringLiteral("helpKey");
    if (dialogHelp() && !dialog.findChild<QShortcut *>(helpKey, Qt::FindDirectChildrenOnly)) {
        auto *help = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
        help->setObjectName(helpKey);
        QObject::connect(help, &QShortcut::activated, &dialog, [&dialog] { dialogHelp()(dialog); });
    }
    return dialog.exec();
}

void setShowModalHandler(std::function<int(QDialog &)> handler)
{
    modalHandler() = std::move(handler);
}

void setDialogHelp(std::function<void(QDialog &)> help)
{
    dialogHelp() = std::move(help);
}

void OpenUrl(const QUrl &url)
{
    if (urlOpener())
        urlOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

void setUrlOpener(std::function<void(const QUrl &)> opener)
{
    urlOpener() = std::move(opener);
}

double SecondsSinceMidnight()
{
    if (clockSource())
        return clockSource()();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void setClock(std::function<double()> clock)
{
    clockSource() = std::move(clock);
}

QDateTime CurrentDateTime()
{
    if (dateTimeSource())
        return dateTimeSource()();
    return QDateTime::currentDateTime();
}

void setDateTimeSource(std::function<QDateTime()> source)
{
    dateTimeSource() = std::move(source);
}

double RandomUnit()
{
    if (randomSource())
        return randomSource()();
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator());
}

void Randomize()
{
    generator().seed(std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
}

void setRandomSource(std::function<double()> source)
{
    randomSource() = std::move(source);
}

QString ProgramFolder()
{
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString &folder)
{
    programFolderOverride() = folder;
}

QString DataFolder()
{
    const QDir program(ProgramFolder());
    // Any one of them beside the program means the files were put there, as the build does; an
    // installed copy has none of them in its bin folder.
    for (const char *name : {"zestro-starter.mdb", "TIPOFDAY.TXT", "zestro_help.html", "findfile.gif"}) {
        if (program.exists(QLatin1String(name)))
            return program.path();
    }
    const QString installed = QDir::cleanPath(program.filePath(QStringLiteral(ZESTRO_DATA_FROM_PROGRAM)));
    return QFileInfo(installed).isDir() ? installed : program.path();
}
