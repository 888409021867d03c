// Edit, Undo and Redo: every kind of user write reversed and replayed exactly, a failed undo that
// changes nothing, and a new connection that starts without history.

#include "common/common_dialog.h"
#include "common/message_box.h"
#include "edit/frmAddEdit.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList digest(StartedProgram &p)
{
    QStringList all;
    for (const char *table : {"Drinks", "DrinkRel", "Ingredients"})
        all << QLatin1String(table) << p.rows(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
    return all;
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

QString firstDrink(StartedProgram &p)
{
    const QString name = p.listedNames().first();
    p.form().selectDrink(name);
    p.db().ShowDrinkInfo(name);
    return name;
}

// Each command as a user reaches it, after its set-up statement; gives the step's label.
struct Command {
    const char *name;
    const char *setUp;
    std::function<QString(StartedProgram &)> run;
};

const QList<Command> kCommands = {
    {"add drink", "", [](StartedProgram &p) { editor(p, 5, QStringLiteral("Undo Fizz")); return QStringLiteral("Add Drink"); }},
    {"edit and rename drink", "", [](StartedProgram &p) {
         firstDrink(p);
         editor(p, 10, QStringLiteral("Renamed Sour"));
         return QStringLiteral("Edit Drink");
     }},
    {"delete drink", "", [](StartedProgram &p) {
         firstDrink(p);
         p.boxes().answerNext(msgbox::vbYes);
         triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
         return QStringLiteral("Delete Drink");
     }},
    {"delete set", "", [](StartedProgram &p) {
         const QString count = QLocale().toString(p.listedNames().size());
         p.boxes().answerNext(msgbox::vbYes);
         triggerCommand(p.form(), QStringLiteral("actDeleteSet"));
         return QStringLiteral("Delete %1 Drinks").arg(count);
     }},
    {"toolbar tried mark", "UPDATE Drinks SET Tried = 0", [](StartedProgram &p) {
         firstDrink(p);
         triggerCommand(p.form(), QStringLiteral("actMarkTried"));
         return QStringLiteral("Mark as Tried");
     }},
    {"set tried mark", "UPDATE Drinks SET Tried = ID > 3", [](StartedProgram &p) {
         p.boxes().answerNext(msgbox::vbYes);
         triggerCommand(p.form(), QStringLiteral("actMarkSetTried"));
         return QStringLiteral("Mark 3 Drinks as Tried");
     }},
    {"ingredient add", "", [](StartedProgram &p) { p.db().IngredientAdd(QStringLiteral("Yuzu"), true); return QStringLiteral("Add Ingredient"); }},
    {"ingredient rename", "", [](StartedProgram &p) {
         p.db().IngredientEdit(ingredient(p, 0), QStringLiteral("Renamed"), false, true);
         return QStringLiteral("Rename Ingredient");
     }},
    {"ingredient delete", "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (999, 'Unused', 0, 1)", [](StartedProgram &p) {
         p.db().IngredientDelete(QStringLiteral("Unused"));
         return QStringLiteral("Delete Ingredient");
     }},
    {"ingredient combine", "", [](StartedProgram &p) {
         QListWidget list;
         list.addItems({ingredient(p, 0), ingredient(p, 1)});
         list.item(1)->setSelected(true);
         p.db().IngredientCombine(&list);
         return QStringLiteral("Combine Ingredients");
     }},
    {"bar list import", "", [](StartedProgram &p) {
         QTemporaryDir dir;
         QFile file(dir.filePath(QStringLiteral("in.bar")));
         if (!file.open(QIODevice::WriteOnly) || file.write((ingredient(p, 2) + QLatin1Char('\n')).toUtf8()) < 0)
             qFatal("cannot write the bar list");
         file.close();
         setFileDialogHandler([&file](FileDialogKind, CommonDialog &) { return std::optional<QString>(file.fileName()); });
         p.boxes().answerNext(msgbox::vbNo);
         triggerCommand(p.form(), QStringLiteral("actImportBarList"));
         setFileDialogHandler({});
         return QStringLiteral("Import Bar List");
     }},
    {"json import", "", [](StartedProgram &p) {
         QTemporaryDir dir;
         QFile file(dir.filePath(QStringLiteral("in.json")));
         const QByteArray json = R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Yuzu"}],
             "drinks": [{"name": "Yuzu Neat", "lines": [{"amount": "1 Ounce", "ingredient": "Yuzu"}]}]})";
         if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size())
             qFatal("cannot write the import file");
         file.close();
         setFileDialogHandler([&file](FileDialogKind, CommonDialog &) { return std::optional<QString>(file.fileName()); });
         triggerCommand(p.form(), QStringLiteral("actImportDrinks"));
         setFileDialogHandler({});
         return QStringLiteral("Import Drinks");
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
        p.exec("UPDATE Ingredients SET Has = 0");
        p.exec(kCommands[command].setUp);
        const QStringList before = digest(p);
        const QString label = kCommands[command].run(p);
        const QStringList after = digest(p);
        QVERIFY(after != before);
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo ") + label);
        QCOMPARE(itemText(p, 95), QStringLiteral("&Redo"));
        QVERIFY(!p.form().menuItem(QStringLiteral("mnuEdit"), 95)->isEnabled());
        const int messages = p.boxes().texts().size();

        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(digest(p), before);
        QCOMPARE(itemText(p, 95), QStringLiteral("&Redo ") + label);
        triggerCommand(p.form(), QStringLiteral("actRedo"));
        QCOMPARE(digest(p), after);
        QCOMPARE(itemText(p, 90), QStringLiteral("&Undo ") + label);
        QCOMPARE(p.boxes().texts().size(), messages);
        // The window shows what the library holds.
        if (!p.selectedName().isEmpty())
            QCOMPARE(p.form().pnlDrinkName->text(), p.selectedName());
        QCOMPARE(p.form().lblCurrentSet->text().contains(QString::number(p.listedNames().size())), true);
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
