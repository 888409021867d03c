// Tools, Compact database: the status texts, the reopened store with its list and shown drink, the
// failure messages, and a file that survives the program being killed at any step.

#include "app/frmMain.h"
#include "core/number_format.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/msgbox_recorder.h"
#include "support/temp_settings.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sqlite3.h>
#include <unistd.h>

namespace {

struct ProgramEnded {
    int code;
};

// What a user could lose: every row of every table in its stored order, hashed, and the drinks.
struct Contents {
    qint64 drinks = -1;
    QByteArray hash;
    bool operator==(const Contents &) const = default;
};

Contents contentsOf(const QString &path)
{
    auto db = engine::OpenDatabase(path, false, true);
    Contents c;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char *table : {"Drinks", "Ingredients", "DrinkRel", "QueryDefs"}) {
        const QByteArray sql = QByteArray("SELECT * FROM ") + table + " ORDER BY rowid";
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db->handle(), sql.constData(), -1, &s, nullptr) != SQLITE_OK)
            return {};
        qint64 rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < sqlite3_column_count(s); ++i) {
                hash.addData(QByteArray::number(sqlite3_column_type(s, i)));
                hash.addData(QByteArrayView(reinterpret_cast<const char *>(sqlite3_column_text(s, i))));
                hash.addData("\x1f");
            }
        }
        sqlite3_finalize(s);
        if (qstrcmp(table, "Drinks") == 0)
            c.drinks = rows;
    }
    c.hash = hash.result();
    return c;
}

bool looksEncrypted(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && !f.read(16).startsWith("SQLite format 3");
}

// The clock gives these readings in turn, then keeps giving the last.
void clockReads(QList<double> readings)
{
    setClock([readings, next = 0]() mutable { return readings.at(std::min(next++, int(readings.size()) - 1)); });
}

QString childProgram()
{
    return QStringLiteral(ZESTRO_COMPACT_CHILD);
}

struct ChildRun {
    bool killed = false;
    int exitCode = -1;
    QStringList lines;
};

ChildRun runChild(const QString &program, const QStringList &arguments)
{
    QProcess p;
    // LeakSanitizer cannot run under strace and would fail the exit code of a sanitizer build.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    p.waitForFinished(20000);
    ChildRun run;
    run.killed = p.exitStatus() == QProcess::CrashExit || p.exitCode() == 128 + SIGKILL;
    run.exitCode = p.exitCode();
    run.lines = QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

// strace that tampers with the given system call of the child only where it touches `path`.
QStringList straceArguments(const QString &path, const QString &syscall, const QString &injection, const QString &file)
{
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                          QStringLiteral("-P"), path, QStringLiteral("-e"), QStringLiteral("trace=") + syscall,
                          QStringLiteral("-e"), QStringLiteral("inject=%1:%2").arg(syscall, injection), childProgram(), file};
    // Stopping on the one call alone is much faster; strace 6.1 then injects errors but no signals.
    if (injection.startsWith(QLatin1String("error=")))
        arguments.prepend(QStringLiteral("--seccomp-bpf"));
    return arguments;
}

// The text, where each "*" of the pattern stands for any run of characters.
bool matches(const QString &text, const QString &pattern)
{
    QString regex;
    for (const QString &part : pattern.split(QLatin1Char('*')))
        regex += (regex.isEmpty() ? QString() : QStringLiteral(".*")) + QRegularExpression::escape(part);
    return QRegularExpression(QRegularExpression::anchoredPattern(regex)).match(text).hasMatch();
}

bool straceWorks()
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    const QStringList arguments{QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")};
    return !strace.isEmpty() && QProcess::execute(strace, arguments) == 0;
}

// While set, the next connection opened on this file first has a drink deleted from it by another.
QString tamperedFile;
int tamperOnOpen(sqlite3 *db, char **, const sqlite3_api_routines *)
{
    if (!tamperedFile.isEmpty() && QString::fromUtf8(sqlite3_db_filename(db, "main")) == tamperedFile)
        sqlite3_exec(engine::OpenDatabase(std::exchange(tamperedFile, QString()))->handle(), "DELETE FROM Drinks WHERE ID = 3",
                     nullptr, nullptr, nullptr);
    return SQLITE_OK;
}

} // namespace

class TestCompaction : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        m_roomy = roomyLibrary(m_cache.path());
        m_before = contentsOf(m_roomy);
        QVERIFY(m_before.drinks > 0);
        setEndProgramHandler([](int code) { throw ProgramEnded{code}; });
    }

    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(QStringLiteral("zestro.mdb"));
        QVERIFY(QFile::copy(m_roomy, m_path));
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        m_work = QFileInfo(m_path).canonicalFilePath() + QStringLiteral(".compacting");
    }

    void cleanup()
    {
        setClock({});
        QLocale::setDefault(QLocale::c());
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }

    void numberPatterns_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("secondsText");
        QTest::addColumn<double>("thousands");
        QTest::addColumn<QString>("thousandsText");
        QTest::newRow("no leading zero") << "C" << 0.25 << ".250" << 0.0 << "0";
        QTest::newRow("whole seconds") << "C" << 12.5 << "12.500" << 999.4 << "999";
        QTest::newRow("no grouping in seconds") << "C" << 1234.5678 << "1234.568" << 1234.5 << "1,235";
        QTest::newRow("rounds up to a second") << "C" << 0.9996 << "1.000" << 1234567.8 << "1,234,568";
        QTest::newRow("file grew") << "C" << 0.0 << ".000" << -2.6 << "-3";
        QTest::newRow("no negative zero") << "C" << 0.0001 << ".000" << -0.4 << "0";
        QTest::newRow("German separators") << "de_DE" << 0.25 << ",250" << 12345.0 << "12.345";
    }

    void numberPatterns()
    {
        QFETCH(QString, locale);
        QFETCH(double, seconds);
        QFETCH(double, thousands);
        QLocale::setDefault(QLocale(locale));
        QTEST(formatSeconds(seconds), "secondsText");
        QTEST(formatThousands(thousands), "thousandsText");
    }

    void compactsInPlaceKeepingListShownDrinkAndLock()
    {
        const qint64 sizeBefore = QFileInfo(m_path).size();
        frmMain form;
        CDatabase db;
        open(db, form);
        const QStringList set = showSet(form, db, 1);
        const QString selected = set.at(1);
        form.pnlDrinkName->clear();
        clockReads({100.0, 100.25});
        MsgBoxRecorder boxes;

        QVERIFY(db.DbCompact());

        const qint64 sizeAfter = QFileInfo(m_path).size();
        QVERIFY2(sizeAfter < sizeBefore, qPrintable(QStringLiteral("%1 -> %2").arg(sizeBefore).arg(sizeAfter)));
        QCOMPARE(form.statusText(), QStringLiteral("Done compacting. Took .250 seconds and freed %1k.")
                                        .arg(qRound((sizeBefore - sizeAfter) / 1000.0)));
        QVERIFY(boxes.messages().isEmpty());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - zestro.mdb"));
        QCOMPARE(listed(form), set);
        QCOMPARE(form.drinkAt(form.selectedDrinkRow()), selected);
        QCOMPARE(form.pnlDrinkName->text(), selected);
        QVERIFY(db.currentDrink());
        QCOMPARE(db.DrinkCount(), QString::number(m_before.drinks));
        QCOMPARE(contentsOf(m_path), m_before);
        QVERIFY(looksEncrypted(m_path));
        QVERIFY(!QFile::exists(m_work));
        QVERIFY(!QFile::exists(m_work + QStringLiteral("-journal")));
        QFile::Permissions perms = QFile::permissions(m_path);
        QCOMPARE(perms, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        // Still ours: another copy of the program cannot open the file.
        CDatabase other;
        other.setFileName(m_path);
        QVERIFY_THROWS_EXCEPTION(EngineError, other.DbOpen());

        // Once more, with nothing left to free, while the clock passes midnight.
        clockReads({86399.5, 0.25});
        QVERIFY(db.DbCompact());
        QCOMPARE(form.statusText(), QStringLiteral("Done compacting. Took .750 seconds and freed 0k."));

        // A copy that differs from the original when it is checked is refused.
        tamperedFile = m_work;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(tamperOnOpen));
        QVERIFY(!db.DbCompact());
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(tamperOnOpen));
        QVERIFY(tamperedFile.isEmpty());
        QVERIFY2(boxes.texts().value(0).contains(QLatin1String("its tables differ")), qPrintable(boxes.texts().join('|')));
        QCOMPARE(contentsOf(m_path), m_before);
        QVERIFY(!QFile::exists(m_work));
    }

    // The copy is made beside the real file, where a leftover of an earlier run is cleared away,
    // and renamed over it: the link the user opened stays a link to the compacted file.
    void throughALinkWithALeftover()
    {
        writeFile(m_work, QByteArray(4096, 'x'));
        writeFile(m_work + QStringLiteral("-journal"), QByteArray(2048, 'j'));
        QDir links(m_dir->filePath(QStringLiteral("links")));
        QVERIFY(links.mkpath(QStringLiteral(".")));
        const QString link = links.filePath(QStringLiteral("bar.mdb"));
        QVERIFY(QFile::link(m_path, link));
        const qint64 sizeBefore = QFileInfo(m_path).size();
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(link);
        db.DbOpen();

        QVERIFY(db.DbCompact());

        QVERIFY(!QFile::exists(m_work));
        QVERIFY(!QFile::exists(m_work + QStringLiteral("-journal")));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo(m_path).size() < sizeBefore);
        QCOMPARE(QDir(links).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("bar.mdb")}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - bar.mdb"));
        QCOMPARE(contentsOf(link), m_before);
    }

    void closedStoreEndsTheProgram()
    {
        CDatabase db;
        db.setFileName(m_path);
        MsgBoxRecorder boxes;
        try {
            db.DbCompact();
            QFAIL("the program went on");
        } catch (const ProgramEnded &) {
        }
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Couldn't close the database.  Exiting program.")});
        QCOMPARE(boxes.messages().first().icon(), int(msgbox::vbExclamation));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Only another program holding the file ends the program; a leftover that cannot be deleted is
    // named, and the library stays open.
    void undeletableLeftoverIsNamedAndTheProgramGoesOn()
    {
        QVERIFY(QDir().mkpath(m_work + QStringLiteral("/not-ours")));
        frmMain form;
        CDatabase db;
        open(db, form);
        MsgBoxRecorder boxes;
        QVERIFY(!db.DbCompact());
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Error: Path/File access error (cannot delete '%1': Is a directory).\nNumber: 75")
                                                .arg(m_work)});
        QVERIFY(db.isOpen());
        QVERIFY(QFileInfo(m_work).isDir());
        QCOMPARE(contentsOf(m_path), m_before);
    }

    // The child is refused a step; the original stays, and where the program goes on it is open.
    void refusedStepKeepsTheOriginal_data()
    {
        QTest::addColumn<QString>("runner");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("disk full") << "pwrite64:error=ENOSPC" << "Error: Not enough space on disk.\\nNumber: 3026" << true;
        QTest::newRow("copy cannot be flushed")
            << "fsync:error=EIO" << "Error: Disk or file error (flushing '%1': Input/output error).\\nNumber: 3051" << true;
        QTest::newRow("no file descriptor for the copy")
            << "openat:error=EMFILE:when=2" << "Error: Cannot write the compacted copy '%1' (*).\\nNumber: 3051" << true;
        QTest::newRow("no file descriptor to replace")
            << "openat:error=EMFILE:when=6" << "Error: Path/File access error (cannot open '%1': Too many open files).\\nNumber: 75" << true;
        QTest::newRow("rename refused") << "rename:error=EACCES"
                                        << "Error: Path/File access error (cannot replace '*': Permission denied).  The database was "
                                           "left as it was.\\nNumber: 75"
                                        << true;
        QTest::newRow("read-only folder") << "setpriv" << "Error: This library cannot be changed: its folder '*' is read-only, *\\nNumber: 3027" << true;
        QTest::newRow("read-only file") << "setpriv-file"
                                        << "Error: This library cannot be changed: the file '*' is read-only.  Nothing was changed.\\nNumber: 3027" << true;
    }

    void refusedStepKeepsTheOriginal()
    {
        QFETCH(QString, runner);
        QFETCH(QString, message);
        QFETCH(bool, goesOn);
        ChildRun run;
        if (runner.startsWith(QLatin1String("setpriv"))) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty() || ::geteuid() != 0)
                QSKIP("needs setpriv and root to drop to another user");
            // nobody may write either the folder or the file, not both
            const bool folderWritable = runner == QLatin1String("setpriv-file");
            const auto writable = [](bool yes) { return yes ? QFile::WriteOther : QFile::Permissions(); };
            QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                     | QFile::ExeOther | writable(folderWritable));
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | writable(!folderWritable));
            run = runChild(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                     QStringLiteral("--clear-groups"), childProgram(), m_path});
        } else {
            if (!straceWorks())
                QSKIP("strace is missing or cannot trace here");
            const QString syscall = runner.section(QLatin1Char(':'), 0, 0);
            const QString injection = runner.section(QLatin1Char(':'), 1);
            run = runChild(QStringLiteral("strace"), straceArguments(m_work, syscall, injection, m_path));
        }
        message.replace(QStringLiteral("%1"), m_work);
        QVERIFY2(!run.lines.isEmpty() && matches(run.lines.first(), QStringLiteral("MSG ") + message),
                 qPrintable(run.lines.join(QLatin1Char('|'))));
        const QStringList rest = goesOn ? QStringList{QStringLiteral("RESULT false %1").arg(m_before.drinks)} : QStringList();
        QCOMPARE(run.lines.mid(1), rest);
        QCOMPARE(run.exitCode, goesOn ? 0 : 1);
        QCOMPARE(contentsOf(m_path), m_before);
        QVERIFY(!QFile::exists(m_work));
    }

    // The child is killed at a step of the compaction: before, at and after the swap, the file under
    // the database's name holds every drink and opens with the key. (A leftover copy is the next
    // run's to delete: throughALinkWithALeftover.)
    void killedAtAnyStep_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("syscall");
        QTest::addColumn<int>("when");
        QTest::addColumn<bool>("leavesCopy");
        QTest::newRow("middle of the copy") << "copy" << "pwrite64" << 20 << true;
        QTest::newRow("replacing the file") << "copy" << "rename" << 1 << true;
        QTest::newRow("folder flushed") << "folder" << "fsync" << 1 << false;
    }

    void killedAtAnyStep()
    {
        QFETCH(QString, where);
        QFETCH(QString, syscall);
        QFETCH(int, when);
        QFETCH(bool, leavesCopy);
        if (!straceWorks())
            QSKIP("strace is missing or cannot trace here");
        const QString path = where == QLatin1String("copy") ? m_work : QFileInfo(m_work).absolutePath();
        const ChildRun run = runChild(QStringLiteral("strace"),
                                      straceArguments(path, syscall, QStringLiteral("signal=SIGKILL:when=%1").arg(when), m_path));
        QVERIFY2(run.killed, qPrintable(run.lines.join(QLatin1Char('|')))); // the step was reached
        QCOMPARE(QFile::exists(m_work), leavesCopy);
        QCOMPARE(contentsOf(m_path), m_before);
    }

private:
    // The starter library with two drinks in three deleted, so compaction has pages to free.
    static QString roomyLibrary(const QString &folder)
    {
        const QString path = fixture::starterLibrary(folder);
        auto db = engine::OpenDatabase(path);
        sqlite3_exec(db->handle(), "DELETE FROM DrinkRel WHERE DrinkID % 3 <> 0; DELETE FROM Drinks WHERE ID % 3 <> 0", nullptr,
                     nullptr, nullptr);
        return path;
    }

    void open(CDatabase &db, frmMain &form)
    {
        db.setOutputWindow(&form);
        open(db);
    }

    void open(CDatabase &db)
    {
        db.setFileName(m_path);
        db.DbOpen();
    }

    // A current set of the first few drinks, one of them selected and shown.
    static QStringList showSet(frmMain &form, CDatabase &db, int selectedRow)
    {
        QStringList names;
        engine::Recordset &drinks = db.drinksTable();
        for (drinks.MoveFirst(); !drinks.Eof() && names.size() < 4; drinks.MoveNext())
            names << drinks.Fields(QStringLiteral("Name")).Value().toString();
        form.fillDrinkList(names, DrinkListOrder::AsGiven);
        form.selectDrinkAt(selectedRow);
        db.ShowDrinkInfo(names[selectedRow]);
        return names;
    }

    static QStringList listed(const frmMain &form)
    {
        QStringList names;
        for (int i = 0; i < form.drinkCount(); ++i)
            names << form.drinkAt(i);
        return names;
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    QString m_work;
    QTemporaryDir m_cache;
    QString m_roomy;   // built once, copied for each test
    Contents m_before; // its contents
};

QTEST_MAIN(TestCompaction)
#include "test_compaction.moc"
