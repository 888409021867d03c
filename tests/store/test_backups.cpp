// A journal left beside the library by a killed write, played back only into its own file; the
// daily backup before the first write of a day, its pruning, and the copy the user asks for.

#include "app/frmMain.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "store/engine/journal_check.h"
#include "store/library_backups.h"
#include "store/write_transaction.h"
#include "support/fixture_db.h"
#include "support/msgbox_recorder.h"
#include "support/temp_settings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

// Runs SQL on the file with the sqlcipher shell; with `killAt`, kills it at that write to the file
// itself, so its hot journal stays beside the file.
bool sqlcipher(const QString &file, const QString &sql, int killAt = 0)
{
    QStringList command{"sqlcipher", file};
    if (killAt)
        command = QStringList{"strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=pwrite64", "-P", file, "-e",
                              QString("inject=pwrite64:signal=SIGKILL:when=%1").arg(killAt)} + command;
    QProcess p;
    p.start(command.takeFirst(), command);
    p.write(("PRAGMA key = 'qorvbelz';\n" + sql + ";\n").toUtf8());
    p.closeWriteChannel();
    return p.waitForFinished(20000) && (killAt ? QFile::exists(file + "-journal") : p.exitCode() == 0);
}

// One write of the program, committed.
void programWrite(const QString &file, const QString &sql)
{
    auto db = engine::OpenDatabase(file);
    db->BeginTrans();
    db->executeNative(sql);
    db->CommitTrans();
}

// Every drink's number and marks, as one text.
QString marks(engine::Database &db)
{
    return db.textColumn("SELECT ID || ':' || Tried || Print FROM Drinks ORDER BY ID").join(',');
}
QString marks(const QString &file)
{
    return marks(*engine::OpenDatabase(file));
}

const QDateTime kNow(QDate(2026, 12, 10), QTime(3, 15));
const QString kTryAll = "UPDATE Drinks SET Tried = 1";

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    QDateTime m_now = kNow;

private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_now = kNow;
        setDateTimeSource([this] { return m_now; });
    }
    void cleanup() { setDateTimeSource({}); }

    // The file under the name and a journal left by a killed write of it, or of another file; the
    // killed write is another program's, so that the file's own writes alone tell the copies apart.
    void journalOfAnotherFileIsSetAside_data()
    {
        QTest::addColumn<QString>("journalFrom"); // the file whose write was killed
        QTest::addColumn<int>("killAt");
        QTest::addColumn<QString>("why"); // empty: it belongs and is rolled back
        QTest::newRow("this file, killed before writing it") << "this" << 1 << "";
        QTest::newRow("this file, killed part-way") << "this" << 4 << "";
        QTest::newRow("another library") << "other" << 1 << "another library";
        QTest::newRow("a newer copy of this library") << "newer" << 1 << "another copy of this library";
        QTest::newRow("an older copy of this library") << "older" << 1 << "another copy of this library";
    }
    void journalOfAnotherFileIsSetAside()
    {
        QFETCH(QString, journalFrom);
        QFETCH(int, killAt);
        QFETCH(QString, why);
        if (QStandardPaths::findExecutable("strace").isEmpty() || QStandardPaths::findExecutable("sqlcipher").isEmpty())
            QSKIP("needs strace and the sqlcipher shell");
        const QString file = fixture::starterLibrary(m_dir->path());
        const QString writer = m_dir->filePath("writer.mdb");
        if (journalFrom == "other")
            engine::CompactDatabase(file, writer); // the same drinks in a library of its own
        else
            QVERIFY(QFile::copy(file, writer));
        if (journalFrom == "older") // the killed write came after one that this file has not seen
            programWrite(writer, "UPDATE Drinks SET Print = 1 WHERE ID = 1");
        if (journalFrom == "newer") // this file has seen two writes more than the killed one started from
            for (const char *id : {"1", "2"})
                programWrite(file, QString("UPDATE Drinks SET Print = 1 WHERE ID = ") + id);
        const QString expected = marks(file);
        QVERIFY(sqlcipher(writer, kTryAll, killAt));
        if (journalFrom != "this") {
            QFile::remove(file + "-journal");
            QVERIFY(QFile::rename(writer + "-journal", file + "-journal"));
        } else {
            QVERIFY(QFile::remove(file) && QFile::rename(writer, file) && QFile::rename(writer + "-journal", file + "-journal"));
        }
        const engine::JournalCheck check = engine::CheckJournal(file);
        QCOMPARE(check.fit, why.isEmpty() ? engine::JournalFit::Belongs : engine::JournalFit::Stray);

        MsgBoxRecorder boxes;
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(file);
        QVERIFY(db.DbOpen());
        QCOMPARE(marks(db.database()), expected); // rolled back, or never played into the file
        QCOMPARE(db.database().textColumn("PRAGMA integrity_check"), QStringList{"ok"});
        QVERIFY(!QFile::exists(file + "-journal"));
        const QString aside = file + "-journal.stray-20261210-031500";
        QCOMPARE(QFile::exists(aside), !why.isEmpty());
        if (!why.isEmpty()) { // said once, naming both files
            QCOMPARE(boxes.texts().size(), 1);
            for (const QString &part : {file + "-journal", file, QFileInfo(aside).fileName(), why})
                QVERIFY2(boxes.texts()[0].contains(part), qPrintable(boxes.texts()[0]));
        }
    }

    void pruningKeepsSevenDaysAndFourWeeks_data()
    {
        QTest::addColumn<QStringList>("taken"); // yyyy-MM-dd[-HHmmss], today 2026-12-10, a Thursday
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("the last 7 days") << QStringList{"2026-12-02", "2026-12-03", "2026-12-04", "2026-12-10", "2026-12-12"}
                                         << QStringList{"2026-12-03", "2026-12-04", "2026-12-10", "2026-12-12"};
        QTest::newRow("one per ISO week beyond, newest of each")
            << QStringList{"2026-12-01", "2026-12-03", "2026-11-23", "2026-11-29", "2026-11-29-120000"}
            << QStringList{"2026-11-29-120000", "2026-12-03"};
        QTest::newRow("only the 4 newest weeks") << QStringList{"2026-11-30", "2026-11-23", "2026-11-16", "2026-11-09", "2026-11-02", "2025-12-31"}
                                                 << QStringList{"2026-11-09", "2026-11-16", "2026-11-23", "2026-11-30"};
        QTest::newRow("a week across the new year") << QStringList{"2025-12-29", "2026-01-01", "2025-12-28"}
                                                      << QStringList{"2025-12-28", "2026-01-01"};
    }
    void pruningKeepsSevenDaysAndFourWeeks()
    {
        QFETCH(QStringList, taken);
        QFETCH(QStringList, kept);
        const QString library = m_dir->filePath("zestro.mdb");
        QDir().mkpath(backups::folderFor(library));
        auto name = [](const QString &date) { return "zestro-" + date + ".mdb"; };
        for (const QString &date : taken)
            QFile(backups::folderFor(library) + '/' + name(date)).open(QIODevice::WriteOnly);
        QFile(backups::folderFor(library) + "/notes.txt").open(QIODevice::WriteOnly);
        backups::prune(library, kNow.date());
        QStringList expected;
        for (const QString &date : kept)
            expected << name(date);
        QCOMPARE(QDir(backups::folderFor(library)).entryList({"zestro-*"}, QDir::Files, QDir::Name), expected);
        QVERIFY(QFile::exists(backups::folderFor(library) + "/notes.txt"));
    }

    // The first write of each day copies the library as it was; later writes that day copy nothing.
    void firstWriteOfADayTakesTheBackup()
    {
        CDatabase db;
        db.setFileName(fixture::starterLibrary(m_dir->path()));
        db.DbOpen();
        const QString before = marks(db.database());
        const QString today = backups::folderFor(db.FileName()) + "/zestro-2026-12-10.mdb";
        auto write = [&](const QString &sql) {
            WriteTransaction tx(db);
            db.database().executeNative(sql);
            tx.commit();
        };
        db.database().textColumn("SELECT count(*) FROM Drinks"); // reads take none
        QVERIFY(!QFile::exists(today));
        write(kTryAll);
        QCOMPARE(marks(today), before);
        write("UPDATE Drinks SET Print = 1");
        QCOMPARE(marks(today), before);
        m_now = m_now.addDays(1);
        write("UPDATE Drinks SET Print = 0");
        QVERIFY(marks(backups::folderFor(db.FileName()) + "/zestro-2026-12-11.mdb").contains(":11"));
        QCOMPARE(backups::list(db.FileName()).size(), 2);
        QCOMPARE(backups::list(db.FileName()).first().drinks, int(fixture::starterContents().drinks.size()));
    }

    void failedBackupIsToldOnceAndTheWriteGoesOn()
    {
        MsgBoxRecorder boxes;
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(fixture::starterLibrary(m_dir->path()));
        db.DbOpen();
        QFile blocker(backups::folderFor(db.FileName())); // a file where the folder would be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        for (int day = 0; day < 2; ++day, m_now = m_now.addDays(1)) {
            WriteTransaction tx(db);
            db.database().executeNative(kTryAll);
            tx.commit();
        }
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts()[0].contains("backup") && boxes.texts()[0].contains(blocker.fileName()), qPrintable(boxes.texts()[0]));
        QVERIFY(marks(db.database()).contains(":10"));
    }

    void backupCopyOpensWithTheSameDrinks()
    {
        CDatabase db;
        db.setFileName(fixture::starterLibrary(m_dir->path()));
        db.DbOpen();
        db.database().executeNative("UPDATE Drinks SET Tried = 1 WHERE ID < 20");
        const QString copy = m_dir->filePath("copy.mdb");
        db.backUpTo(copy);
        QCOMPARE(marks(copy), marks(db.database()));
        QCOMPARE(backups::whyNotRestorable(copy), QString());
        // Never over the library itself, by whatever name; a failed copy leaves no file.
        QVERIFY(QFile::link(db.FileName(), m_dir->filePath("link.mdb")));
        QVERIFY(::link(qPrintable(db.FileName()), qPrintable(m_dir->filePath("hard.mdb"))) == 0);
        const QByteArray original = [&] { QFile f(db.FileName()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        for (const QString &name : {db.FileName(), m_dir->filePath("link.mdb"), m_dir->filePath("hard.mdb"), m_dir->filePath("copy.mdb/x.mdb")})
            QVERIFY_THROWS_EXCEPTION(EngineError, db.backUpTo(name));
        QFile after(db.FileName());
        QVERIFY(after.open(QIODevice::ReadOnly) && after.readAll() == original);
        QCOMPARE(QDir(m_dir->path()).entryList({"*.partial*"}, QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestBackups)
#include "test_backups.moc"
