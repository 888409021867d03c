// Marks over the current drink and the current set, tagging the set for printing and deleting the
// whole set, driven through the menu and toolbar handlers and checked in the file.

#include "output/frmPrintTagCurrentSet.h"
#include "store/CDatabase.h"
#include "store/engine/database.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// The names of the drinks whose `field` is set.
QStringList marked(StartedProgram &p, const QString &field)
{
    return p.rows(QStringLiteral("SELECT Name FROM Drinks WHERE %1 <> 0 ORDER BY Name").arg(field));
}

QString sqlText(QString name)
{
    return name.replace(QLatin1Char('\''), QStringLiteral("''"));
}

// A current set of the drinks whose names end in "Sour", with one other drink tried and tagged.
QStringList sours(StartedProgram &p)
{
    p.exec(QStringLiteral("UPDATE Drinks SET Tried = 0, Print = 0; UPDATE Drinks SET Tried = 1, Print = 1 WHERE Name = 'Zombie'"));
    p.db().Search(1, QStringLiteral("*Sour"), true);
    return p.listedNames();
}

} // namespace

class TestMarks : public QObject {
    Q_OBJECT
private slots:
    void currentSetMenu_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("setMarked"); // the set's drinks afterwards
        QTest::addColumn<bool>("gone");      // the first drink of the set deleted behind the list's back
        QTest::newRow("tried") << 10 << int(msgbox::vbYes) << "mark all drinks in the current set as tried?" << "Tried" << true << false;
        QTest::newRow("tried, No") << 10 << int(msgbox::vbNo) << "mark all drinks in the current set as tried?" << "Tried" << false << false;
        QTest::newRow("un-tried") << 40 << int(msgbox::vbYes) << "un-mark all drinks in the current set as tried?" << "Tried" << false << false;
        QTest::newRow("tried, one gone") << 10 << int(msgbox::vbYes) << "mark all drinks in the current set as tried?" << "Tried" << true << true;
        QTest::newRow("un-print") << 50 << int(msgbox::vbYes) << "un-mark all drinks in the current set to print?" << "Print" << false << false;
    }
    void currentSetMenu()
    {
        QFETCH(int, index);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, field);
        QFETCH(bool, setMarked);
        QFETCH(bool, gone);
        StartedProgram p;
        QStringList set = sours(p);
        QVERIFY(set.size() >= 3);
        p.exec(QStringLiteral("UPDATE Drinks SET Tried = 1, Print = 1 WHERE Name LIKE '%Sour'"));
        const QString goneName = gone ? set.takeFirst() : QString();
        p.exec(QStringLiteral("DELETE FROM Drinks WHERE Name = '%1'").arg(goneName));
        p.form().selectDrinkAt(1); // shown: a drink that stays
        p.boxes().clear();
        p.boxes().answerNext(answer);
        p.form().menuItem(QStringLiteral("mnuCurrentSet"), index)->trigger();
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("Are you sure you want to ") + question}
                                        + (gone ? QStringList{"Error - can't find " + goneName + ".  Continuing."} : QStringList()));
        QCOMPARE(marked(p, field), (setMarked || answer == msgbox::vbNo ? set : QStringList()) + QStringList{QStringLiteral("Zombie")});
    }

    void tagForPrinting_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("keepsEarlier");
        QTest::addColumn<bool>("tagsSet");
        QTest::newRow("add these") << 0 << 0 << true << true;
        QTest::newRow("only these") << 0 << 1 << false << true;
        QTest::newRow("cancel") << 1 << 1 << true << false;
    }
    void tagForPrinting()
    {
        QFETCH(int, button);
        QFETCH(int, option);
        QFETCH(bool, keepsEarlier);
        QFETCH(bool, tagsSet);
        StartedProgram p;
        const QStringList set = sours(p);
        ModalScript script([&](QDialog &dialog) {
            auto &tag = static_cast<frmPrintTagCurrentSet &>(dialog);
            tag.optOption[size_t(option)]->setChecked(true);
            tag.cmdButtons[size_t(button)]->click();
            return tag.result();
        });
        triggerCommand(p.form(), QStringLiteral("actMarkSetPrint"));
        QCOMPARE(marked(p, QStringLiteral("Print")),
                 (tagsSet ? set : QStringList()) + (keepsEarlier ? QStringList{QStringLiteral("Zombie")} : QStringList()));
    }

    void aSetThatFailsHalfWayIsLeftAsItWas()
    {
        StartedProgram p;
        const QStringList set = sours(p);
        p.exec(QStringLiteral("CREATE TEMP TRIGGER fail BEFORE UPDATE ON main.Drinks WHEN NEW.Name = '%1' "
                               "BEGIN SELECT RAISE(ABORT, 'injected'); END").arg(set[1]));
        p.boxes().answerNext(msgbox::vbYes);
        p.form().menuItem(QStringLiteral("mnuCurrentSet"), 10)->trigger();
        QCOMPARE(marked(p, QStringLiteral("Tried")), QStringList{QStringLiteral("Zombie")});
        QVERIFY2(p.boxes().texts().last().endsWith(QLatin1String("No drink of the current set was marked.")),
                 qPrintable(p.boxes().texts().last()));
    }

    // A refused write leaves the Tried and Print buttons showing what the file holds, not the click.
    void toolbarMarksShowTheFileAfterAFailedWrite()
    {
        StartedProgram p;
        sours(p);
        p.form().selectDrinkAt(0);
        p.exec(QStringLiteral("CREATE TEMP TRIGGER fail BEFORE UPDATE ON main.Drinks BEGIN SELECT RAISE(ABORT, 'injected'); END"));
        for (const char *name : {"actMarkTried", "actMarkPrint"}) {
            QAction *button = p.form().command(QLatin1String(name));
            const bool before = button->isChecked();
            triggerCommand(p.form(), QLatin1String(name));
            QCOMPARE(button->isChecked(), before);
        }
        QCOMPARE(marked(p, QStringLiteral("Tried")), QStringList{QStringLiteral("Zombie")});
        QCOMPARE(p.boxes().texts().size(), 2); // one message for each refused click
    }

    // The marks column and the detail view follow fills and writes; the column sorts both, tried, print, none.
    void listAndDetailShowTheMarks()
    {
        StartedProgram p;
        frmMain &f = p.form();
        const int column = f.lvDrinks->model()->columnCount() - 1;
        auto marks = [&](int row) { return f.lvDrinks->model()->index(row, column).data(Qt::ToolTipRole).toString(); };
        const QStringList set = sours(p);
        p.db().ShowAllDrinks(true);
        QCOMPARE(marks(int(p.listedNames().indexOf(QStringLiteral("Zombie")))), QStringLiteral("Tried\nTo print"));
        p.db().Search(1, QStringLiteral("*Sour"), true);
        f.selectDrinkAt(1);
        triggerCommand(f, QStringLiteral("actMarkTried"));
        QCOMPARE(marks(1) + f.lblDrinkMarks->text(), QStringLiteral("TriedTried"));
        ModalScript addThese([](QDialog &dialog) { static_cast<frmPrintTagCurrentSet &>(dialog).cmdButtons[0]->click(); return 1; });
        triggerCommand(f, QStringLiteral("actMarkSetPrint"));
        QCOMPARE(marks(0) + marks(1) + f.lblDrinkMarks->text(), QStringLiteral("To printTried\nTo printTried  \u00b7  To print"));
        p.boxes().answerNext(msgbox::vbYes);
        f.menuItem(QStringLiteral("mnuCurrentSet"), 40)->trigger();
        QCOMPARE(marks(1) + f.lblDrinkMarks->text(), QStringLiteral("To printTo print"));

        p.exec(QStringLiteral("UPDATE Drinks SET Tried = (Name IN ('%2', '%3')), Print = (Name IN ('%1', '%3'))")
                   .arg(sqlText(set[0]), sqlText(set[1]), sqlText(set[2])));
        p.db().Search(1, QStringLiteral("*Sour"), true);
        f.lvDrinks->header()->setSortIndicator(column, Qt::AscendingOrder);
        QCOMPARE(p.listedNames().mid(0, 3), QStringList({set[2], set[1], set[0]}));
    }

    void deleteAllAsksAndRelists()
    {
        StartedProgram p;
        const int all = p.listedNames().size();
        const QStringList set = sours(p);
        const QString question = QStringLiteral("Are you absolutely sure you want to DELETE all %1 drinks in the current set?").arg(set.size());
        triggerCommand(p.form(), QStringLiteral("actDeleteSet")); // answered No
        QCOMPARE(p.boxes().texts().last(), question);
        QCOMPARE(p.listedNames().size(), all);

        sours(p);
        // The second drink cannot lose its lines; stopping there keeps it and the ones after it whole.
        const qint64 id = p.db().database().scalar(QStringLiteral("SELECT ID FROM Drinks WHERE Name = '%1'").arg(set[1]));
        p.exec(QStringLiteral("CREATE TEMP TRIGGER fail BEFORE DELETE ON main.DrinkRel WHEN OLD.DrinkID = %1 "
                               "BEGIN SELECT RAISE(ABORT, 'injected'); END").arg(id));
        p.boxes().answerNext(msgbox::vbYes);
        p.boxes().answerNext(msgbox::vbNo);
        triggerCommand(p.form(), QStringLiteral("actDeleteSet"));
        QCOMPARE(p.boxes().texts().last(), QStringLiteral("There was an error deleting %1.  Continue with the others?").arg(set[1]));
        QCOMPARE(p.listedNames().size(), all - 1);
        QVERIFY(!p.listedNames().contains(set[0]) && p.listedNames().contains(set[1]) && p.listedNames().contains(set.last()));
        QVERIFY(p.db().database().scalar(QStringLiteral("SELECT count(*) FROM DrinkRel WHERE DrinkID = %1").arg(id)) > 0);

        // Going on deletes the rest in the same write, and the refused drink stays whole.
        sours(p);
        p.boxes().answerNext(msgbox::vbYes);
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteSet"));
        QCOMPARE(p.boxes().texts().last(), QStringLiteral("There was an error deleting %1.  Continue with the others?").arg(set[1]));
        QCOMPARE(p.listedNames().size(), all - set.size() + 1);
        QVERIFY(p.listedNames().contains(set[1]) && !p.listedNames().contains(set.last()));
    }

    // Another program reads the file while the set is deleted, so the write cannot be committed:
    // one message, nothing deleted, every drink listed.
    void deleteSetBlockedByAnotherProgram()
    {
        StartedProgram p;
        const QStringList all = p.listedNames();
        auto reader = engine::OpenDatabase(p.libraryPath());
        reader->executeNative(QStringLiteral("BEGIN"));
        QVERIFY(reader->scalar(QStringLiteral("SELECT count(*) FROM Drinks")) == all.size());
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteSet"));
        reader->executeNative(QStringLiteral("COMMIT"));
        QCOMPARE(p.boxes().texts().size(), 2);
        QVERIFY2(p.boxes().texts().last().endsWith(QStringLiteral("No drink of the current set was deleted.")), qPrintable(p.boxes().texts().last()));
        QCOMPARE(p.listedNames(), all);
        QCOMPARE(p.rows(QStringLiteral("SELECT count(*) FROM Drinks")).first().toInt(), all.size());
    }
};

QTEST_MAIN(TestMarks)
#include "test_marks.moc"
