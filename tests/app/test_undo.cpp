// Edit, Undo and Redo: every kind of user write reversed and replayed exactly, a failed undo that
// changes nothing, and a new connection that starts without history.

#include "common/common_dialog.h"
#include "common/message_box.h"
#include "browse/drink_list_model.h"
#include "browse/drink_list_view.h"
#include "edit/frmAddEdit.h"
#include "search/frmMyBar.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

QStringList digest(StartedProgram &p)
{
    QStringList all;
    for (const char *table : {"Drinks", "DrinkRel", "Ingredients"})
        all << QLatin1String(table) << p.rows(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
    return all;
}

// The drink list as shown: each name with its missing count and marks, and the set's count.
QStringList listState(StartedProgram &p)
{
    const auto &model = static_cast<const DrinkListModel &>(*p.form().lvDrinks->model());
    QStringList rows{p.form().lblCurrentSet->text()};
    for (int row = 0; row < model.rowCount(); ++row)
        rows << model.nameAt(row) + ':' + model.index(row, 1).data().toString() + ':' + QString::number(model.marksAt(row));
    return rows;
}

QString itemText(StartedProgram &p, int index)
{
    return p.form().menuItem(QStringLiteral("mnuEdit"), index)->text();
}

QString ingredient(StartedProgram &p, int row)
{
    return p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients ORDER BY ID LIMIT 1 OFFSET %1").arg(row)).first();
}

void editor(StartedProgram &p, int item, const QString &name)
{
    const QString line = ingredient(p, 4);
    ModalScript script([&name, &line](QDialog &dialog) {
        auto &d = static_cast<frmAddEdit &>(dialog);
        d.txtDrinkName->setText(name);
        d.cmbIngredient->setEditText(line);
        d.cmdAdd_Click();
        d.txtDirections->setPlainText(QStringLiteral("Stir."));
        d.cmdDone_Click();
        return dialog.result();
    });
    p.form().menuItem(QStringLiteral("mnuEdit"), item)->trigger();
}

// Runs the command with the file dialog answering a file that holds `bytes`.
void withFile(StartedProgram &p, const QByteArray &bytes, const char *command)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("in")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        qFatal("cannot write the test file");
    setFileDialogHandler([&file](FileDialogKind, CommonDialog &) { return std::optional<QString>(file.fileName()); });
    triggerCommand(p.form(), QLatin1String(command));
    setFileDialogHandler({});
}

QString firstDrink(StartedProgram &p)
{
    const QString name = p.listedNames().first();
    p.form().selectDrink(name);
    p.db().ShowDrinkInfo(name);
    return name;
}

void command(StartedProgram &p, const char *name, bool onFirstDrink = false)
{
    if (onFirstDrink)
        firstDrink(p);
    triggerCommand(p.form(), QLatin1String(name));
}

// Each command as a user reaches it, after its set-up statement and with the answer to its question
// queued. "%1" in the step's label is the number of drinks listed before.
struct Command {
    const char *name;
    const char *setUp;
    int answer;
    const char *label;
    bool canMake; // the list shows the drinks one can make, with their missing counts
    std::function<void(StartedProgram &)> run;
};

const QList<Command> kCommands = {
    {"add drink", "", 0, "Add Drink", false, [](StartedProgram &p) { editor(p, 5, QStringLiteral("Undo Fizz")); }},
    {"edit and rename drink", "", 0, "Edit Drink", false, [](StartedProgram &p) { firstDrink(p), editor(p, 10, QStringLiteral("Renamed Sour")); }},
    {"delete drink", "", msgbox::vbYes, "Delete Drink", false, [](StartedProgram &p) { command(p, "actDeleteDrink", true); }},
    {"delete set", "", msgbox::vbYes, "Delete %1 Drinks", false, [](StartedProgram &p) { command(p, "actDeleteSet"); }},
    {"toolbar tried mark", "UPDATE Drinks SET Tried = 0", 0, "Mark as Tried", false, [](StartedProgram &p) { command(p, "actMarkTried", true); }},
    {"set tried mark", "UPDATE Drinks SET Tried = ID > 3", msgbox::vbYes, "Mark 3 Drinks as Tried", false,
     [](StartedProgram &p) { command(p, "actMarkSetTried"); }},
    {"ingredient add", "", 0, "Add Ingredient", false, [](StartedProgram &p) { p.db().IngredientAdd(QStringLiteral("Yuzu"), true); }},
    {"ingredient rename", "", 0, "Rename Ingredient", false,
     [](StartedProgram &p) { p.db().IngredientEdit(ingredient(p, 0), QStringLiteral("Renamed"), false, true); }},
    {"ingredient delete", "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (999, 'Unused', 0, 1)", 0, "Delete Ingredient", false,
     [](StartedProgram &p) { p.db().IngredientDelete(QStringLiteral("Unused")); }},
    {"ingredient combine", "", 0, "Combine Ingredients", false, [](StartedProgram &p) {
         QListWidget list;
         list.addItems({ingredient(p, 0), ingredient(p, 1)});
         list.item(1)->setSelected(true);
         p.db().IngredientCombine(&list);
     }},
    {"bar list import", "UPDATE Ingredients SET Has = 0", msgbox::vbNo, "Import Bar List", true,
     [](StartedProgram &p) { withFile(p, ingredient(p, 2).toUtf8() + '\n', "actImportBarList"); }},
    {"my bar", "UPDATE Ingredients SET Has = 0", 0, "Change Bar List", true, [](StartedProgram &p) {
         ModalScript script([](QDialog &dialog) {
             auto &bar = static_cast<frmMyBar &>(dialog);
             QAbstractItemModel *model = bar.lstIngredients->model();
             for (int row = 0; row < 3; ++row)
                 model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
             bar.cmdOK_Click();
             return dialog.result();
         });
         command(p, "actMyBar");
     }},
    {"json import", "", 0, "Import Drinks", false, [](StartedProgram &p) {
         withFile(p, R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Yuzu"}],
             "drinks": [{"name": "Yuzu Neat", "lines": [{"amount": "1 Ounce", "ingredient": "Yuzu"}]}]})", "actImportDrinks");
     }},
};

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void undoRestoresEveryTableAndRedoReplays_data()
    {
        QTest::addColumn<int>("command");
        for (int i = 0; i < kCommands.size(); ++i)
            QTest::newRow(kCommands[i].name) << i;
    }

    void undoRestoresEveryTableAndRedoReplays()
    {
        QFETCH(int, command);
        StartedProgram p;
        const Command &c = kCommands[command];
        p.exec(c.setUp);
        p.db().ShowListMarks(); // the marks the set-up wrote behind the program's back
        if (c.canMake)
            p.db().BarList(3);
        const QStringList before = digest(p), listedBefore = listState(p);
        const QString label = QString::fromUtf8(c.label).replace(QLatin1String("%1"), QString::number(p.listedNames().size()));
        if (c.answer)
            p.boxes().answerNext(c.answer);
        c.run(p);
        const QStringList after = digest(p), listedAfter = listState(p);
        QVERIFY(after != before);
        QVERIFY(!c.canMake || listedAfter != listedBefore); // the counts went with the bar list
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo ") + label);
        QVERIFY(!p.form().menuItem(QStringLiteral("mnuEdit"), 95)->isEnabled());
        const int messages = p.boxes().texts().size();

        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(digest(p), before);
        QCOMPARE(listState(p), listedBefore);
        QCOMPARE(itemText(p, 95), QStringLiteral("&Redo ") + label);
        triggerCommand(p.form(), QStringLiteral("actRedo"));
        QCOMPARE(digest(p), after);
        QCOMPARE(listState(p), listedAfter);
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo ") + label);
        QCOMPARE(p.boxes().texts().size(), messages);
        QCOMPARE(p.form().pnlDrinkName->text(), p.selectedName()); // the window shows a drink that is there
    }

    void failedUndoChangesNothingAndKeepsTheHistory()
    {
        StartedProgram p;
        const QStringList before = digest(p);
        const QString name = firstDrink(p);
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
        const QStringList after = digest(p);
        p.exec("CREATE TEMP TRIGGER fail BEFORE INSERT ON main.DrinkRel BEGIN SELECT RAISE(ABORT, 'injected'); END");
        p.boxes().clear();
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(digest(p), after);
        QCOMPARE(p.boxes().texts().size(), 1);
        QVERIFY2(p.boxes().texts().first().contains(QStringLiteral("Could not undo Delete Drink.")), qPrintable(p.boxes().texts().first()));
        QVERIFY(!p.listedNames().contains(name));
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo Delete Drink"));

        p.exec("DROP TRIGGER temp.fail");
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(digest(p), before);
        QCOMPARE(p.selectedName(), name);
        // The drink put back is one the commands find again.
        const QString tried = QStringLiteral("SELECT Tried FROM Drinks WHERE Name = '%1'").arg(name);
        const QStringList wasTried = p.rows(tried);
        p.boxes().clear();
        triggerCommand(p.form(), QStringLiteral("actMarkTried"));
        QCOMPARE(p.boxes().texts(), QStringList());
        QVERIFY(p.rows(tried) != wasTried);
    }

    // Another program's connection writes between the step and its undo (redo). %1 is the first
    // drink's number, %2 the third ingredient's, %3 the first drink's name.
    void replayNeverOverwritesAnotherProgramsWrite_data()
    {
        QTest::addColumn<bool>("redo");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("refused");
        for (const bool redo : {false, true}) {
            const char *verb = redo ? "redo" : "undo";
            QTest::addRow("%s: drink renamed", verb) << redo << "tried" << "UPDATE Drinks SET Name = 'Elsewhere' WHERE ID = %1" << true;
            QTest::addRow("%s: directions edited", verb) << redo << "tried" << "UPDATE Drinks SET Description = 'Shake.' WHERE ID = %1" << true;
            QTest::addRow("%s: ingredient renamed", verb) << redo << "bar" << "UPDATE Ingredients SET Ingredient = 'Elsewhere' WHERE ID = %2" << true;
            QTest::addRow("%s: row deleted", verb) << redo << "tried" << "DELETE FROM Drinks WHERE ID = %1" << true;
            QTest::addRow("%s: colliding row inserted", verb) << redo << (redo ? "add" : "delete")
                                                            << (redo ? "INSERT INTO Ingredients (ID, Ingredient) SELECT max(ID) + 1, 'Yuzu' FROM Ingredients"
                                                                     : "INSERT INTO Drinks (ID, Name) VALUES (999, '%3')") << true;
            QTest::addRow("%s: unrelated row changed", verb) << redo << "tried" << "UPDATE Ingredients SET Ingredient = 'Elsewhere' WHERE ID = %2" << false;
            QTest::addRow("%s: nothing changed", verb) << redo << "tried" << "" << false;
        }
    }
    void replayNeverOverwritesAnotherProgramsWrite()
    {
        QFETCH(bool, redo);
        QFETCH(QString, step);
        QFETCH(QString, other);
        QFETCH(bool, refused);
        StartedProgram p;
        p.exec("UPDATE Drinks SET Tried = 0");
        p.exec("UPDATE Ingredients SET Has = 0");
        const QString name = firstDrink(p), id = p.rows("SELECT ID FROM Drinks WHERE Name = '" + name + "'").first();
        p.boxes().answerNext(step == "bar" ? msgbox::vbNo : msgbox::vbYes);
        if (step == "bar")
            withFile(p, ingredient(p, 2).toUtf8() + '\n', "actImportBarList");
        else if (step == "add")
            p.db().IngredientAdd(QStringLiteral("Yuzu"), false);
        else
            command(p, step == "tried" ? "actMarkSetTried" : "actDeleteDrink", true);
        if (redo)
            triggerCommand(p.form(), QStringLiteral("actUndo"));
        const QString label = itemText(p, redo ? 95 : 90).mid(6);
        if (!other.isEmpty())
            engine::OpenDatabase(p.libraryPath())
                ->executeNative(other.replace("%1", id).replace("%2", p.rows("SELECT ID FROM Ingredients ORDER BY ID").at(2)).replace("%3", name));
        const QStringList changed = digest(p);
        p.boxes().clear();
        triggerCommand(p.form(), redo ? QStringLiteral("actRedo") : QStringLiteral("actUndo"));
        if (refused) {
            QCOMPARE(digest(p), changed);
            QCOMPARE(itemText(p, redo ? 95 : 90).mid(6), label);
            const QString text = p.boxes().texts().value(0);
            QVERIFY2(p.boxes().texts().size() == 1 && text.contains(QStringLiteral("Could not %1 %2.  Another program").arg(redo ? "redo" : "undo", label))
                         && text.endsWith(QStringLiteral("  Nothing was changed.")), qPrintable(text));
        } else { // the step replayed, the other program's change kept
            QCOMPARE(p.boxes().texts(), QStringList());
            QCOMPARE(p.rows("SELECT count(*) FROM Drinks WHERE Tried = 0").first().toInt(), redo ? 0 : int(p.listedNames().size()));
            QCOMPARE(p.rows("SELECT count(*) FROM Ingredients WHERE Ingredient = 'Elsewhere'").first(), other.isEmpty() ? "0" : "1");
        }
    }

    void compactionAndOpeningStartWithoutHistory()
    {
        StartedProgram p;
        p.db().IngredientAdd(QStringLiteral("Yuzu"), false);
        QVERIFY(p.form().menuItem(QStringLiteral("mnuEdit"), 90)->isEnabled());
        p.db().compactFile();
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo"));
        QVERIFY(!p.form().menuItem(QStringLiteral("mnuEdit"), 90)->isEnabled());

        // The new connection records again, and opening the file anew forgets it.
        const QStringList before = digest(p);
        p.db().IngredientDelete(QStringLiteral("Yuzu"));
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(digest(p), before);
        p.db().IngredientDelete(QStringLiteral("Yuzu"));
        p.db().DbOpen();
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo"));
        QCOMPARE(p.rows(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE 'zestro_undo%'")), QStringList{QStringLiteral("0")});
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
