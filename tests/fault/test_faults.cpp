// Every write command in a child process faulted from outside: killed at a write, a flush or the
// journal's removal, a full disk, failing flushes, a read-only library; then second copies, a hot
// journal and stray locks. The library must afterwards hold all of the command or none of it.
// ZESTRO_FAULT_COMMAND chooses commandFault's command, so that CTest spreads the commands out.

#include "store/engine/database.h"
#include "support/fixture_db.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// What a user could lose: the integrity check, the drinks, and every row of the three tables.
struct State {
    QString check;
    qint64 drinks = -1;
    QByteArray hash;
    bool operator==(const State &) const = default;
};

State stateOf(const QString &path)
{
    State s;
    auto db = engine::OpenDatabase(path); // read-write: a hot journal is rolled back as by any reader
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto each = [&](const char *sql, auto row) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db->handle(), sql, -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW)
            row(st);
        sqlite3_finalize(st);
    };
    const auto text = [](sqlite3_stmt *st, int i) { return reinterpret_cast<const char *>(sqlite3_column_text(st, i)); };
    each("PRAGMA integrity_check", [&](sqlite3_stmt *st) { s.check += text(st, 0); });
    each("SELECT count(*) FROM Drinks", [&](sqlite3_stmt *st) { s.drinks = sqlite3_column_int64(st, 0); });
    for (const char *sql : {"SELECT * FROM Drinks ORDER BY ID", "SELECT * FROM Ingredients ORDER BY ID", "SELECT * FROM DrinkRel ORDER BY rowid"})
        each(sql, [&](sqlite3_stmt *st) {
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                hash.addData(QByteArray::number(sqlite3_column_type(st, i)) + text(st, i) + '\x1f');
        });
    s.hash = hash.result();
    return s;
}

struct Run {
    bool killed = false;
    int code = -1;
    QStringList lines;
    QStringList failures() const { return lines.filter(QRegularExpression("^MSG .*[^?]$")); } // no questions
    int listed() const { return lines.filter(QRegularExpression("^LIST ")).value(0).mid(5).toInt(); }
    QByteArray text() const { return QString("exit %1%2: %3").arg(code).arg(killed ? " killed" : "", lines.join('|')).toLocal8Bit(); }
};

const QString kChild = ZESTRO_FAULT_CHILD;

void startChild(QProcess &p, QStringList command, const QString &cwd = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0"); // LeakSanitizer cannot run traced
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(cwd);
    p.start(command.takeFirst(), command);
}

Run run(const QStringList &command, const QString &cwd = {});

// Runs the child as another user on a read-only file in a read-only folder; "out" stays writable.
Run runReadOnly(const QTemporaryDir &dir, const QStringList &child)
{
    QDir(dir.path()).mkdir("settings");
    QDir(dir.path()).mkdir("out");
    QProcess::execute("chown", {"-R", "65534:65534", dir.path()});
    QFile::setPermissions(child[1], QFile::ReadOwner | QFile::ReadOther);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const Run r = run(QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + child);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return r;
}

Run run(const QStringList &command, const QString &cwd)
{
    QProcess p;
    startChild(p, command, cwd);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::CrashExit || p.exitCode() == 128 + 9, p.exitCode(),
            QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)};
}

// Reads the child's output until it lists the drinks: it has the library open.
bool waitForList(QProcess &p)
{
    QByteArray out;
    while (!out.contains("LIST ") && p.waitForReadyRead(20000))
        out += p.readAllStandardOutput();
    return out.contains("LIST ");
}

// strace on the library's own files only, so that a clean run's counts and the faults count the same calls.
QStringList strace(const QString &file, const QString &trace, const QString &inject, const QString &log = "/dev/null",
                   const QStringList &suffixes = {"", "-journal", ".compacting", ".compacting-journal"})
{
    QStringList a{"strace", "-f", "-qq", "-o", log, "-e", "trace=" + trace};
    if (inject.contains("error=")) // much faster; strace 6.1 then injects errors but no signals
        a << "--seccomp-bpf";
    for (const QString &suffix : suffixes)
        a << "-P" << file + suffix;
    return inject.isEmpty() ? a : a << "-e" << "inject=" + trace + ':' + inject;
}

struct Clean {
    State after;
    QHash<QString, int> calls;
};

const QStringList kCommands{"edit", "add", "delete", "deleteSet", "triedSet", "onlyTheseSet",
                            "combine", "deleteIngredient", "barList", "importDrinks", "compact", "myBar"};

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
    QTemporaryDir m_cache;
    QString m_base;
    State m_before;
    QHash<QString, Clean> m_clean;
    bool m_strace = false;

    // A copy of the library in `dir`, beside the files the import commands read; the child's arguments.
    QStringList prepare(const QTemporaryDir &dir, const QString &command)
    {
        QFile::copy(m_base, dir.filePath("zestro.mdb"));
        QFile bar(dir.filePath("in.bar")), json(dir.filePath("in.json"));
        if (bar.open(QIODevice::WriteOnly))
            bar.write("Lime\nGin\n");
        if (json.open(QIODevice::WriteOnly))
            json.write(R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Gin"}, {"name": "Lime"}, {"name": "Fault bitters"}],
              "drinks": [{"name": "Fault One", "lines": [{"amount": "2 Ounces", "ingredient": "Gin"}, {"amount": "", "ingredient": "Fault bitters"}]},
                         {"name": "Fault Two", "lines": [{"amount": "1 Ounce", "ingredient": "Lime"}]}]})");
        return {kChild, dir.filePath("zestro.mdb"), command, dir.filePath(command == "barList" ? "in.bar" : "in.json")};
    }

private slots:
    void initTestCase()
    {
        m_base = fixture::starterLibrary(m_cache.path());
        // An earlier print tag outside the set, for "Make these the only drinks."
        sqlite3_exec(engine::OpenDatabase(m_base)->handle(), "UPDATE Drinks SET Print = 1 WHERE Name = 'Zombie'", nullptr, nullptr, nullptr);
        m_before = stateOf(m_base);
        QCOMPARE(m_before.check, "ok");
        m_strace = !QStandardPaths::findExecutable("strace").isEmpty() && QProcess::execute("strace", {"-qq", "-o", "/dev/null", "true"}) == 0;
    }

    void commandFault_data()
    {
        const QString command = qEnvironmentVariable("ZESTRO_FAULT_COMMAND");
        if (!kCommands.contains(command))
            QSKIP("ZESTRO_FAULT_COMMAND names no command");
        QTest::addColumn<QString>("fault");   // "kill", "error" or "read-only"
        QTest::addColumn<QString>("syscall"); // with its injection; `when` is a share of a clean run's calls
        QTest::addColumn<double>("when");
        const QByteArray c = command.toLatin1();
        for (double when : {0.0, 0.34, 0.67, 1.0})
            QTest::addRow("%s: kill at write %.0f%%", c.data(), when * 100) << "kill" << "pwrite64" << when;
        for (const char *call : {"fdatasync", "fsync", "unlink", "rename"})
            QTest::addRow("%s: kill at last %s", c.data(), call) << "kill" << call << 1.0;
        QTest::addRow("%s: disk full part-way", c.data()) << "error" << "pwrite64:error=ENOSPC" << 0.5;
        QTest::addRow("%s: fdatasync fails", c.data()) << "error" << "fdatasync:error=EIO" << 0.0;
        QTest::addRow("%s: fsync fails", c.data()) << "error" << "fsync:error=EIO" << 0.0;
        QTest::addRow("%s: read-only", c.data()) << "read-only" << "" << 0.0;
    }

    void commandFault()
    {
        QFETCH(QString, fault);
        QFETCH(QString, syscall);
        QFETCH(double, when);
        const QString command = qEnvironmentVariable("ZESTRO_FAULT_COMMAND");
        const bool lists = !command.endsWith("Set") || command == "deleteSet"; // the others list the set
        QTemporaryDir dir;
        const QStringList child = prepare(dir, command);
        const QString file = child[1];
        if (fault == "read-only") {
            if (QStandardPaths::findExecutable("setpriv").isEmpty() || ::geteuid() != 0)
                QSKIP("needs setpriv and root to drop to another user");
            const Run r = runReadOnly(dir, child);
            // One message, and it gives the reason rather than an engine error.
            QVERIFY2(!r.killed && r.code == 0 && (!lists || r.listed() == m_before.drinks), r.text());
            QVERIFY2(r.failures().size() == 1 && r.failures()[0].contains("cannot be changed: the file '"), r.text());
            // Said before the user answers a question or fills in a drink or a tag dialog.
            QVERIFY2(r.lines.filter(QRegularExpression("^MSG .*\\?$|^DIALOG (frmAddEdit|frmPrintTagCurrentSet)$")).isEmpty(), r.text());
            QCOMPARE(stateOf(file), m_before);
            QVERIFY(!QFileInfo::exists(dir.filePath("backups"))); // nothing to back up
            return;
        }
        if (!m_strace)
            QSKIP("strace is missing or cannot trace here");
        if (!m_clean.contains(command)) { // a clean run on another copy: the outcome, and the calls it takes
            QTemporaryDir cleanDir;
            const QStringList cleanChild = prepare(cleanDir, command);
            const Run c = run(strace(cleanChild[1], "pwrite64,fdatasync,fsync,unlink,rename", {}, cleanDir.filePath("calls")) + cleanChild);
            QVERIFY2(c.code == 0 && c.failures().isEmpty(), c.text());
            QFile log(cleanDir.filePath("calls"));
            log.open(QIODevice::ReadOnly);
            Clean clean{stateOf(cleanChild[1]), {}};
            for (const QString &line : QString::fromLocal8Bit(log.readAll()).split('\n')) // "PID name(..."
                ++clean.calls[line.section('(', 0, 0).section(' ', -1)];
            QVERIFY(clean.after.check == "ok" && (clean.after != m_before || command == "compact"));
            m_clean.insert(command, clean);
        }
        const Clean &clean = m_clean[command];
        const QString call = syscall.section(':', 0, 0);
        if (clean.calls.value(call) == 0)
            QSKIP(qPrintable(command + " makes no " + call + " call on the library"));
        const QString k = QString::number(std::max(1, qRound(when * clean.calls.value(call))));
        if (fault == "kill") {
            const Run r = run(strace(file, call, "signal=SIGKILL:when=" + k) + child);
            QVERIFY2(r.killed, r.text());
            const State s = stateOf(file);
            QCOMPARE(s.check, "ok");
            QVERIFY2(s == m_before || s == clean.after, qPrintable(QString("a mix of %1 drinks").arg(s.drinks)));
            return;
        }
        const Run r = run(strace(file, call, syscall.section(':', 1) + ":when=" + k + '+') + child);
        QVERIFY2(!r.killed && r.code == 0, r.text());
        const QRegularExpression cause("disk|space|input/output", QRegularExpression::CaseInsensitiveOption);
        QVERIFY2(!r.failures().filter(cause).isEmpty(), r.text()); // the message names the cause
        QCOMPARE(stateOf(file), m_before);
        QVERIFY2(!lists || r.listed() == m_before.drinks, r.text());
    }

    // The older layout without the bar list's column, where it cannot be upgraded: read as it is,
    // the bar list empty; a change of the bar list refused with the reason. `said` matches the
    // messages beside the two notices of the failed upgrade.
    void olderLayoutReadOnly_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("said");
        QTest::newRow("show a drink") << "show" << "";
        QTest::newRow("search by name") << "searchName" << "";
        QTest::newRow("search by bar list") << "searchBarList" << "MSG Sorry, no drinks found\\.";
        QTest::newRow("print") << "print" << "";
        QTest::newRow("export") << "export" << "";
        QTest::newRow("my bar") << "myBar" << "MSG Error 3027: This library cannot be changed: the file '.*' is read-only\\.  Nothing was changed\\.";
    }
    void olderLayoutReadOnly()
    {
        QFETCH(QString, command);
        QFETCH(QString, said);
        if (QStandardPaths::findExecutable("setpriv").isEmpty() || ::geteuid() != 0)
            QSKIP("needs setpriv and root to drop to another user");
        QTemporaryDir dir;
        const QString file = fixture::oldFormatLibrary(dir.path(), "zestro.mdb");
        sqlite3_exec(engine::OpenDatabase(file)->handle(), "UPDATE Drinks SET Print = 1 WHERE Name LIKE '%Sour'", nullptr, nullptr, nullptr);
        const State before = stateOf(file);
        const QString out = dir.filePath(command == "export" ? "out/drinks.json" : "out/drinks.pdf");
        const Run r = runReadOnly(dir, {kChild, file, command, out});
        const QStringList failures = r.failures().filter(QRegularExpression("^MSG (?!Zestro has noticed|Error creating field 'Has')"));
        QVERIFY2(!r.killed && r.code == 0 && r.failures().size() == failures.size() + 2, r.text());
        QVERIFY2(QRegularExpression("^" + said + "$").match(failures.join('|')).hasMatch(), r.text());
        QVERIFY2(!r.lines.contains("SHOWN ") && r.listed() > 0, r.text());        // a drink shown
        // The window says why nothing can be changed, in its caption and beside the status.
        QVERIFY2(r.lines.contains("CAPTION Zestro - zestro.mdb (read-only)")
                     && r.lines.contains("NOTICE Changes cannot be saved: the file '" + file + "' is read-only."), r.text());
        QCOMPARE(QFileInfo(out).size() > 0, command == "print" || command == "export");
        QCOMPARE(stateOf(file), before);
    }

    // A second copy of the program, by whatever path it reaches the file, is refused.
    void secondCopy_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("relative");
        QTest::newRow("same path") << "zestro.mdb" << false;
        QTest::newRow("symbolic link") << "other/link.mdb" << false;
        QTest::newRow("hard link") << "other/hard.mdb" << false;
        QTest::newRow("relative path") << "other/../zestro.mdb" << true;
    }
    void secondCopy()
    {
        QFETCH(QString, path);
        QFETCH(bool, relative);
        QTemporaryDir dir;
        const QString file = prepare(dir, "hold")[1];
        QDir(dir.path()).mkdir("other");
        QVERIFY(QFile::link(file, dir.filePath("other/link.mdb")) && ::link(qPrintable(file), qPrintable(dir.filePath("other/hard.mdb"))) == 0);
        QProcess holder;
        startChild(holder, {kChild, file, "hold"});
        QVERIFY(waitForList(holder));
        const Run second = run({kChild, relative ? path : dir.filePath(path), "list"}, relative ? dir.path() : QString());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(20000) && holder.exitCode() == 0);
        QVERIFY2(!second.failures().filter("already in use").isEmpty(), second.text());
        QCOMPARE(stateOf(file), m_before);
    }

    // Leftovers of a killed run: its hot journal is rolled back, one left by a write of another file is
    // set aside, its lock or a junk lock file keeps no one out.
    void strayFiles_data()
    {
        QTest::addColumn<QString>("leftover");
        QTest::newRow("hot journal") << "journal";
        QTest::newRow("hot journal of another library") << "other library";
        QTest::newRow("hot journal over an older copy") << "older copy";
        QTest::newRow("lock of a killed copy") << "killed";
        QTest::newRow("junk lock file") << "junk";
    }
    void strayFiles()
    {
        QFETCH(QString, leftover);
        QTemporaryDir dir;
        const QString file = prepare(dir, "list")[1];
        if (leftover == "journal") {
            if (!m_strace)
                QSKIP("strace is missing or cannot trace here");
            // killed at its first write to the library itself: the journal is complete and hot
            const Run killed = run(strace(file, "pwrite64", "signal=SIGKILL:when=1", "/dev/null", {""}) + QStringList{kChild, file, "deleteSet"});
            QVERIFY2(killed.killed && QFile::exists(file + "-journal"), killed.text());
        } else if (leftover.contains(' ')) {
            if (!m_strace)
                QSKIP("strace is missing or cannot trace here");
            // A write killed on another file: the same drinks under a key of their own, or this
            // file after a write that the file put back under the name has not seen.
            QVERIFY(QDir(dir.path()).mkdir("writer"));
            const QString writer = dir.filePath("writer/zestro.mdb");
            if (leftover == "other library")
                engine::CompactDatabase(file, writer);
            else
                QVERIFY(QFile::copy(file, writer) && run({kChild, writer, "triedSet"}).failures().isEmpty());
            const Run killed = run(strace(writer, "pwrite64", "signal=SIGKILL:when=1", "/dev/null", {""}) + QStringList{kChild, writer, "deleteSet"});
            QVERIFY2(killed.killed && QFile::rename(writer + "-journal", file + "-journal"), killed.text());
        } else if (leftover == "killed") {
            QProcess holder;
            startChild(holder, {kChild, file, "hold"});
            QVERIFY(waitForList(holder));
            holder.kill();
            holder.waitForFinished();
        } else {
            QFile junk(file + ".lock");
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("junk\n") == 5);
        }
        const Run r = run({kChild, file, "list"});
        const bool stray = leftover.contains(' '); // set aside, and said once
        QVERIFY2(r.code == 0 && r.failures().size() == int(stray) && r.listed() == m_before.drinks, r.text());
        QCOMPARE(QDir(dir.path()).entryList({"zestro.mdb-journal.stray-*"}).size(), int(stray));
        QVERIFY(!QFile::exists(file + "-journal"));
        QCOMPARE(stateOf(file), m_before);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "test_faults.moc"
