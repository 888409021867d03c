// Every write command in a child process faulted from outside: killed at a write, a flush or the
// journal's removal, a full disk, failing flushes, a read-only library; and second copies, hot
// journals and stray lock files. The library must afterwards hold all of the command or none of it.
// ZESTRO_FAULT_COMMAND chooses the command of commandFault, so CTest spreads the commands out.

#include "store/engine/database.h"
#include "support/fixture_db.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
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
    auto db = engine::OpenDatabase(path); // read-write: a hot journal is rolled back as any reader would
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto each = [&](const char *sql, auto row) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db->handle(), sql, -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW)
            row(st);
        sqlite3_finalize(st);
    };
    const auto text = [](sqlite3_stmt *st, int i) { return reinterpret_cast<const char *>(sqlite3_column_text(st, i)); };
    each("PRAGMA integrity_check", [&](sqlite3_stmt *st) { s.check += QString::fromUtf8(text(st, 0)); });
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
    QStringList failures() const // messages that are no question to confirm
    {
        QStringList out;
        for (const QString &l : lines)
            if (l.startsWith(QLatin1String("MSG ")) && !l.endsWith(QLatin1Char('?')))
                out << l;
        return out;
    }
    int listed() const { return lines.filter(QRegularExpression(QStringLiteral("^LIST "))).value(0).mid(5).toInt(); }
    QString text() const { return QStringLiteral("exit %1%2: ").arg(code).arg(killed ? " killed" : "") + lines.join(QLatin1Char('|')); }
};

QProcessEnvironment childEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    return env;
}

Run run(QStringList command, const QString &cwd = {})
{
    QProcess p;
    p.setProcessEnvironment(childEnvironment());
    p.setWorkingDirectory(cwd);
    p.start(command.takeFirst(), command);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::CrashExit || p.exitCode() == 128 + 9, p.exitCode(),
            QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

const QString kChild = QStringLiteral(ZESTRO_FAULT_CHILD);

// strace on the library's own files: a clean run's counts and the faults count the same calls.
QStringList strace(const QString &file, const QString &trace, const QString &inject, const QString &log = QStringLiteral("/dev/null"),
                   const QStringList &suffixes = {"", "-journal", ".compacting", ".compacting-journal"})
{
    QStringList a{QStringLiteral("strace"), QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"), log};
    if (inject.contains(QLatin1String("error="))) // much faster; strace 6.1 then injects errors but no signals
        a << QStringLiteral("--seccomp-bpf");
    for (const QString &suffix : suffixes)
        a << QStringLiteral("-P") << file + suffix;
    a << QStringLiteral("-e") << QStringLiteral("trace=") + trace;
    return inject.isEmpty() ? a : a << QStringLiteral("-e") << QStringLiteral("inject=%1:%2").arg(trace, inject);
}

// Reads the child's output until it lists the drinks: the library is open.
bool waitForList(QProcess &p)
{
    QByteArray out;
    while (!out.contains("LIST ") && p.waitForReadyRead(20000))
        out += p.readAllStandardOutput();
    return out.contains("LIST ");
}

struct Clean {
    State after;
    QHash<QString, int> calls;
};

const QStringList kCommands{"edit", "add", "delete", "deleteSet", "triedSet", "onlyTheseSet", "combine",
                            "deleteIngredient", "barList", "importDrinks", "compact"};

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
    QTemporaryDir m_cache;
    QString m_base;
    State m_before;
    QHash<QString, Clean> m_clean;
    bool m_strace = false;

    // A fresh folder holding a copy of the library and the files the import commands read.
    QString prepare(const QTemporaryDir &dir)
    {
        const QString file = dir.filePath(QStringLiteral("zestro.mdb"));
        QFile::copy(m_base, file);
        QFile bar(dir.filePath(QStringLiteral("in.bar"))), json(dir.filePath(QStringLiteral("in.json")));
        if (bar.open(QIODevice::WriteOnly))
            bar.write("Lime\nGin\n");
        if (json.open(QIODevice::WriteOnly))
            json.write(R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Gin"}, {"name": "Lime"}, {"name": "Fault bitters"}], "drinks": [
                {"name": "Fault One", "lines": [{"amount": "2 Ounces", "ingredient": "Gin"}, {"amount": "", "ingredient": "Fault bitters"}],
                 "directions": "Stir."},
                {"name": "Fault Two", "lines": [{"amount": "1 Ounce", "ingredient": "Lime"}], "directions": "Shake."}]})");
        return file;
    }
    static QStringList childArgs(const QString &file, const QString &command)
    {
        const QString input = command == QLatin1String("barList") ? "in.bar" : command == QLatin1String("importDrinks") ? "in.json" : "";
        return {kChild, file, command, QFileInfo(file).absolutePath() + QLatin1Char('/') + input};
    }

private slots:
    void initTestCase()
    {
        m_base = fixture::starterLibrary(m_cache.path());
        // An earlier print tag outside the set, for "Make these the only drinks."
        sqlite3_exec(engine::OpenDatabase(m_base)->handle(), "UPDATE Drinks SET Print = 1 WHERE Name = 'Zombie'", nullptr, nullptr, nullptr);
        m_before = stateOf(m_base);
        QCOMPARE(m_before.check, QStringLiteral("ok"));
        m_strace = !QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty()
                   && QProcess::execute(QStringLiteral("strace"), {"-qq", "-o", "/dev/null", "true"}) == 0;
    }

    void commandFault_data()
    {
        const QString command = qEnvironmentVariable("ZESTRO_FAULT_COMMAND");
        if (!kCommands.contains(command))
            QSKIP("ZESTRO_FAULT_COMMAND names no command");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");   // "kill", "error" or "read-only"
        QTest::addColumn<QString>("syscall"); // and its injection, with `when` as a fraction of a clean run's calls
        QTest::addColumn<double>("when");
        for (double when : {0.0, 0.34, 0.67, 1.0})
            QTest::addRow("%s: kill at write %.0f%%", qPrintable(command), when * 100) << command << "kill" << "pwrite64" << when;
        for (const char *call : {"fdatasync", "fsync", "unlink", "rename"})
            QTest::addRow("%s: kill at last %s", qPrintable(command), call) << command << "kill" << call << 1.0;
        QTest::addRow("%s: disk full part-way", qPrintable(command)) << command << "error" << "pwrite64:error=ENOSPC" << 0.5;
        QTest::addRow("%s: fdatasync fails", qPrintable(command)) << command << "error" << "fdatasync:error=EIO" << 0.0;
        QTest::addRow("%s: fsync fails", qPrintable(command)) << command << "error" << "fsync:error=EIO" << 0.0;
        QTest::addRow("%s: read-only", qPrintable(command)) << command << "read-only" << "" << 0.0;
    }

    void commandFault()
    {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(QString, syscall);
        QFETCH(double, when);
        const bool lists = !command.endsWith(QLatin1String("Set")) || command == QLatin1String("deleteSet");
        QTemporaryDir dir;
        const QString file = prepare(dir);
        Run r;
        if (fault == QLatin1String("read-only")) {
            if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty() || ::geteuid() != 0)
                QSKIP("needs setpriv and root to drop to another user");
            QDir(dir.path()).mkdir(QStringLiteral("settings"));
            QProcess::execute(QStringLiteral("chown"), {"-R", "65534:65534", dir.path()});
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadOther);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
            r = run(QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + childArgs(file, command));
            QVERIFY2(!r.killed && r.code == 0 && !r.failures().isEmpty(), qPrintable(r.text()));
            QVERIFY2(!lists || r.listed() == m_before.drinks, qPrintable(r.text()));
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(stateOf(file), m_before);
            return;
        }
        if (!m_strace)
            QSKIP("strace is missing or cannot trace here");
        if (!m_clean.contains(command)) { // a clean run on another copy: the outcome, and the calls it makes
            QTemporaryDir cleanDir;
            const QString cleanFile = prepare(cleanDir), log = cleanDir.filePath(QStringLiteral("calls"));
            const Run c = run(strace(cleanFile, QStringLiteral("pwrite64,fdatasync,fsync,unlink,rename"), {}, log) + childArgs(cleanFile, command));
            QVERIFY2(c.code == 0 && c.failures().isEmpty(), qPrintable(c.text()));
            QFile f(log);
            f.open(QIODevice::ReadOnly);
            Clean &clean = m_clean[command];
            for (const QString &line : QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n')))
                ++clean.calls[line.section(QLatin1Char('('), 0, 0).section(QLatin1Char(' '), -1)];
            clean.after = stateOf(cleanFile);
            QVERIFY(clean.after.check == QStringLiteral("ok") && (clean.after != m_before || command == QLatin1String("compact")));
        }
        const Clean &clean = m_clean[command];
        const QString call = syscall.section(QLatin1Char(':'), 0, 0);
        const int k = std::max(1, qRound(when * clean.calls.value(call)));
        if (clean.calls.value(call) == 0)
            QSKIP(qPrintable(QStringLiteral("%1 makes no %2 call on the library").arg(command, call)));
        if (fault == QLatin1String("kill")) {
            r = run(strace(file, call, QStringLiteral("signal=SIGKILL:when=%1").arg(k)) + childArgs(file, command));
            QVERIFY2(r.killed, qPrintable(r.text()));
            const State s = stateOf(file);
            QCOMPARE(s.check, QStringLiteral("ok"));
            QVERIFY2(s == m_before || s == clean.after, qPrintable(QStringLiteral("a mix: %1 drinks").arg(s.drinks)));
            return;
        }
        r = run(strace(file, call, syscall.section(QLatin1Char(':'), 1) + QStringLiteral(":when=%1+").arg(k)) + childArgs(file, command));
        QVERIFY2(!r.killed && r.code == 0, qPrintable(r.text()));
        const QRegularExpression cause(QStringLiteral("disk|space|input/output"), QRegularExpression::CaseInsensitiveOption);
        QVERIFY2(!r.failures().filter(cause).isEmpty(), qPrintable(r.text()));
        QCOMPARE(stateOf(file), m_before);
        QVERIFY2(!lists || r.listed() == m_before.drinks, qPrintable(r.text()));
    }

    // A second copy of the program, by whatever path it reaches the file, is refused.
    void secondCopy_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("cwd");
        QTest::newRow("same path") << "zestro.mdb" << "";
        QTest::newRow("symbolic link") << "other/link.mdb" << "";
        QTest::newRow("hard link") << "other/hard.mdb" << "";
        QTest::newRow("relative path") << "other/../zestro.mdb" << ".";
    }
    void secondCopy()
    {
        QFETCH(QString, path);
        QFETCH(QString, cwd);
        QTemporaryDir dir;
        const QString file = prepare(dir);
        QDir(dir.path()).mkdir(QStringLiteral("other"));
        QFile::link(file, dir.filePath(QStringLiteral("other/link.mdb")));
        ::link(qPrintable(file), qPrintable(dir.filePath(QStringLiteral("other/hard.mdb"))));
        QProcess holder;
        holder.setProcessEnvironment(childEnvironment());
        holder.start(kChild, {file, QStringLiteral("hold")});
        QVERIFY(waitForList(holder));
        const Run second = run({kChild, cwd.isEmpty() ? dir.filePath(path) : path, QStringLiteral("list")}, cwd.isEmpty() ? QString() : dir.path());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(20000) && holder.exitCode() == 0);
        QVERIFY2(!second.failures().filter(QStringLiteral("already in use")).isEmpty(), qPrintable(second.text()));
        QCOMPARE(stateOf(file), m_before);
    }

    // Leftovers of a killed run: its hot journal is rolled back, its lock or a junk lock file keeps no one out.
    void strayFiles_data()
    {
        QTest::addColumn<QString>("leftover");
        QTest::newRow("hot journal") << "journal";
        QTest::newRow("lock of a killed copy") << "killed";
        QTest::newRow("junk lock file") << "junk";
    }
    void strayFiles()
    {
        QFETCH(QString, leftover);
        QTemporaryDir dir;
        const QString file = prepare(dir);
        if (leftover == QLatin1String("journal")) {
            if (!m_strace)
                QSKIP("strace is missing or cannot trace here");
            // killed at its first write to the library itself: the journal is complete and hot
            const Run killed = run(strace(file, QStringLiteral("pwrite64"), QStringLiteral("signal=SIGKILL:when=1"), QStringLiteral("/dev/null"), {""})
                                   + childArgs(file, QStringLiteral("deleteSet")));
            QVERIFY2(killed.killed && QFile::exists(file + QStringLiteral("-journal")), qPrintable(killed.text()));
        } else if (leftover == QLatin1String("killed")) {
            QProcess holder;
            holder.start(kChild, {file, QStringLiteral("hold")});
            QVERIFY(waitForList(holder));
            holder.kill();
            holder.waitForFinished();
        } else {
            QFile junk(file + QStringLiteral(".lock"));
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("junk\n") == 5);
        }
        const Run r = run({kChild, file, QStringLiteral("list")});
        QVERIFY2(r.code == 0 && r.failures().isEmpty() && r.listed() == m_before.drinks, qPrintable(r.text()));
        QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
        QCOMPARE(stateOf(file), m_before);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "test_faults.moc"
