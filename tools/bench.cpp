// zestro-bench: times the program's operations on synthetic libraries of 1,000, 10,000 and 30,000
// drinks and prints one line per figure:
//   BENCH <operation> <drinks> ours_ms=<median> floor_ms=<median of the bare SQLite query, or -> runs=<n> ratio=<ours/floor>
// The floor is the same work done with a prepared statement on a raw connection, so the distance
// between the two is what the program's own layers cost.
//
//   zestro-bench [--sizes 1000,10000,30000] [--dir FOLDER] [--only OPERATION,OPERATION...]

#include "tools/bench_support.h"

#include "common/message_box.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizesOption(QStringLiteral("sizes"), QStringLiteral("Library sizes."), QStringLiteral("list"),
                                         QStringLiteral("1000,10000,30000"));
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("Folder for the libraries (kept)."), QStringLiteral("folder"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Run only these operations."), QStringLiteral("list"));
    parser.addOptions({sizesOption, dirOption, onlyOption});
    parser.process(app);

    // Keep the user's own settings out of it: opening a library records its path.
    // Messages (an empty result) are answered at once instead of waiting for a click.
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbOK); });
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QTemporaryDir scratch;
    const QString folder = parser.isSet(dirOption) ? parser.value(dirOption) : scratch.path();
    QDir().mkpath(folder);
    const QStringList only = parser.value(onlyOption).split(QLatin1Char(','), Qt::SkipEmptyParts);

    for (const QString &size : parser.value(sizesOption).split(QLatin1Char(','))) {
        bench::Context c{size.toInt(), QDir(folder).filePath(QStringLiteral("bench%1.mdb").arg(size)),
                         library::syntheticLibrary(size.toInt(), 1), only};
        if (!QFile::exists(c.path))
            library::writeLibrary(c.path, c.contents);
        QFile::remove(c.path + QStringLiteral(".lock"));
        bench::benchStore(c);
        bench::benchWindows(c);
        bench::benchEdit(c);
        bench::benchIngredients(c);
        bench::benchOutput(c);
        bench::benchPrinting(c);
        bench::benchExchange(c);
        bench::benchBuyNext(c);
        bench::benchMyBar(c);
        bench::benchUndo(c);
        bench::benchBackup(c);
    }
    return 0;
}
