// zestro-compact-child FILE: opens the library with CDatabase and compacts it, offscreen, so the
// compaction tests can kill or starve it from outside (strace, a dropped user) and then look at
// the file. Prints each message box as "MSG <text>" and at the end
// "RESULT <true|false> <drink count, or - when the store is closed>".

#include "common/message_box.h"
#include "store/CDatabase.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>

namespace {
void say(const QString &line)
{
    QString oneLine = line;
    oneLine.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    std::printf("%s\n", qPrintable(oneLine));
    std::fflush(stdout); // the fatal paths end the process without unwinding
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zestro-compact-child FILE\n");
        return 2;
    }
    // Settings beside the library, in the test's folder: a killed child leaves nothing elsewhere.
    const QString file = QString::fromLocal8Bit(argv[1]);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QFileInfo(file).absolutePath() + QStringLiteral("/settings"));
    setMsgBoxHandler([](const QString &text, int, const QString &) {
        say(QStringLiteral("MSG ") + text);
        return int(msgbox::vbOK);
    });

    CDatabase db;
    db.setFileName(file);
    try {
        db.DbOpen();
    } catch (const EngineError &e) {
        say(QStringLiteral("OPEN FAILED %1 %2").arg(e.number()).arg(e.description()));
        return 3;
    }
    const bool compacted = db.DbCompact();
    say(QStringLiteral("RESULT %1 %2").arg(compacted ? QStringLiteral("true") : QStringLiteral("false"),
                                           db.isOpen() ? db.DrinkCount() : QStringLiteral("-")));
    return 0;
}
