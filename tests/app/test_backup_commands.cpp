// File, Back Up Library... and File, Restore from Backup... through the menu handlers.

#include "app/frmRestoreBackup.h"
#include "common/common_dialog.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>
#include <QFileInfo>
#include <QtTest>

namespace {
const QDateTime kNow(QDate(2026, 12, 10), QTime(3, 15));

QString marks(const QString &file)
{
    return engine::OpenDatabase(file)->textColumn("SELECT ID || ':' || Tried FROM Drinks ORDER BY ID").join(',');
}
} // namespace

class TestBackupCommands : public QObject {
    Q_OBJECT

private slots:
    void init() { setDateTimeSource([] { return kNow; }); }
    void cleanup()
    {
        setDateTimeSource({});
        setFileDialogHandler({});
    }

    void backUpLibrary()
    {
        StartedProgram p;
        QStringList proposed;
        QList<std::optional<QString>> answers{p.folder() + "/copy.mdb"};
        const QString answer = *answers.first();
        setFileDialogHandler([&](FileDialogKind, CommonDialog &dialog) {
            proposed << QFileInfo(dialog.FileName).fileName();
            return answers.isEmpty() ? std::nullopt : answers.takeFirst();
        });
        p.form().mnuFile_Click(50);
        QCOMPARE(proposed, QStringList{"zestro-2026-12-10.mdb"});
        QCOMPARE(p.boxes().texts(), QStringList());
        QCOMPARE(marks(answer), marks(p.libraryPath()));
        // The open library itself is refused with the cause and the dialog asked again (here
        // cancelled); the library stays as it was.
        answers = {p.libraryPath(), std::nullopt};
        const QString before = marks(p.libraryPath());
        p.form().mnuFile_Click(50);
        QCOMPARE(p.boxes().texts().size(), 1);
        QVERIFY2(p.boxes().texts()[0].contains("is the library Zestro has open"), qPrintable(p.boxes().texts()[0]));
        QCOMPARE(marks(p.libraryPath()), before);
    }

    void restoreFromBackup()
    {
        StartedProgram p;
        const QString folder = p.folder() + "/backups";
        QDir().mkpath(folder);
        p.db().backUpTo(folder + "/zestro-2026-12-09.mdb"); // every drink untried
        QFile damaged(folder + "/zestro-2026-12-08.mdb");
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(QByteArray(4096, 'z')) == 4096);
        damaged.close();
        const QString untried = marks(folder + "/zestro-2026-12-09.mdb");
        triggerCommand(p.form(), "actMarkTried"); // a change to undo; the day's backup is taken before it
        QVERIFY(p.form().command("actUndo")->isEnabled());
        QVERIFY(marks(p.libraryPath()) != untried);

        QStringList rows;
        ModalScript script([&](QDialog &dialog) {
            auto &d = dynamic_cast<frmRestoreBackup &>(dialog);
            for (int i = 0; i < d.lvBackups->topLevelItemCount(); ++i)
                rows << d.lvBackups->topLevelItem(i)->text(1) + (d.lvBackups->topLevelItem(i)->flags() & Qt::ItemIsSelectable ? "" : " (no)");
            d.lvBackups->setCurrentItem(d.lvBackups->topLevelItem(1));
            d.cmdRestore->click();
            return dialog.result();
        });
        p.boxes().answerNext(msgbox::vbYes);
        p.form().mnuFile_Click(55);
        QCOMPARE(script.shown, QStringList{"frmRestoreBackup"});
        const QString drinks = QString::number(fixture::starterContents().drinks.size());
        QCOMPARE(rows, (QStringList{drinks, drinks, "damaged (no)"})); // newest first
        QCOMPARE(p.boxes().messages().size(), 1); // asked once
        QCOMPARE(p.boxes().messages()[0].buttons(), int(msgbox::vbYesNo));
        QCOMPARE(marks(p.libraryPath()), untried);
        QCOMPARE(p.listedNames().size(), drinks.toInt());
        QVERIFY(!p.form().command("actUndo")->isEnabled());
        const QString kept = folder + "/zestro-2026-12-10-031500.mdb"; // the replaced library, with its change
        QVERIFY(QFile::exists(kept) && marks(kept) != untried);
    }
};

QTEST_MAIN(TestBackupCommands)
#include "test_backup_commands.moc"
