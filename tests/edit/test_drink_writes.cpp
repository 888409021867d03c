// Adding, editing, renaming and deleting drinks through the running program's commands and the drink
// editor's controls, checked against the file: identifiers, line order, trimmed names, amounts and
// marks, every refusal of the editor, and failures that leave the file exactly as it was.

#include "common/program_objects.h"
#include "core/name_order.h"
#include "edit/frmAddEdit.h"
#include "edit/frmIngredientAdd.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QPushButton>
#include <QSet>
#include <QtTest>

namespace {

QStringList dump(StartedProgram &p)
{
    return p.rows(QStringLiteral("SELECT ID, Name, Description, Comments, Tried, Print, Submitted FROM Drinks ORDER BY ID"))
           + p.rows(QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid"));
}

QString drinkRow(StartedProgram &p, const QString &name)
{
    return p.rows(QStringLiteral("SELECT ID, Name, Description, Tried, Print, Submitted FROM Drinks WHERE Name = '%1'").arg(name)).value(0);
}

QStringList linesOf(StartedProgram &p, int id)
{
    return p.rows(QStringLiteral("SELECT IngID, Amount FROM DrinkRel WHERE DrinkID = %1 ORDER BY rowid").arg(id));
}

// While it lives, the drink editor is driven by `drive` and cancelled unless `drive` pressed Done.
// An editor that comes back after a failed save is cancelled, the name it holds kept in `cameBack`.
std::unique_ptr<ModalScript> editor(const std::function<void(frmAddEdit &)> &drive, QStringList *cameBack = nullptr)
{
    auto shown = std::make_shared<int>(0);
    return std::make_unique<ModalScript>([drive, shown, cameBack](QDialog &dialog) {
        if ((*shown)++ > 0) {
            if (cameBack)
                *cameBack << static_cast<frmAddEdit &>(dialog).txtDrinkName->text();
            static_cast<frmAddEdit &>(dialog).cmdCancel_Click();
            return dialog.result();
        }
        drive(static_cast<frmAddEdit &>(dialog));
        if (dialog.result() != QDialog::Accepted)
            static_cast<frmAddEdit &>(dialog).cmdCancel_Click();
        return dialog.result();
    });
}

// Chooses the Edit menu item as a user does, through the command guard.
void edit(StartedProgram &p, int index, const std::function<void(frmAddEdit &)> &drive, QStringList *cameBack = nullptr)
{
    const auto script = editor(drive, cameBack);
    p.form().menuItem(QStringLiteral("mnuEdit"), index)->trigger();
}

void addLine(frmAddEdit &d, const QString &amount, int unit, const QString &ingredient)
{
    d.txtAmount->setText(amount);
    d.txtAmount_LostFocus();
    d.cmbUnit->setCurrentIndex(unit);
    d.cmbIngredient->setEditText(ingredient);
    d.cmdAdd_Click();
}

void show(StartedProgram &p, const QString &name)
{
    p.form().selectDrink(name);
    p.db().ShowDrinkInfo(name);
}

} // namespace

class TestDrinkWrites : public QObject {
    Q_OBJECT
private slots:
    void addStoresTheNextIdentifierLinesInOrderAndShowsTheDrink()
    {
        StartedProgram p;
        p.exec("DELETE FROM Drinks WHERE ID > 41");
        const QStringList gin = p.rows(QStringLiteral("SELECT ID, Ingredient FROM Ingredients ORDER BY ID LIMIT 2"));
        const QString first = gin[0].section(QLatin1Char('|'), 1), second = gin[1].section(QLatin1Char('|'), 1);
        edit(p, 5, [&](frmAddEdit &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Add Drink"));
            d.txtDrinkName->setText(QStringLiteral("  Zest Sour  "));
            d.txtDirections->setPlainText(QStringLiteral("  Shake hard. "));
            d.chkTried->setChecked(true);
            addLine(d, QStringLiteral("1 1/2"), 10, first);
            addLine(d, QString(), 0, second);
            QCOMPARE(d.lstIngredients->item(0)->text(), QStringLiteral("1.5 Ounces  ") + first);
            QCOMPARE(d.lstIngredients->item(1)->text(), second);
            d.cmdDone_Click();
        });
        QCOMPARE(drinkRow(p, QStringLiteral("Zest Sour")), QStringLiteral("42|Zest Sour|Shake hard.|true|false|false"));
        QCOMPARE(linesOf(p, 42), (QStringList{gin[0].section(QLatin1Char('|'), 0, 0) + QStringLiteral("|1.5 Ounces"),
                                              gin[1].section(QLatin1Char('|'), 0, 0) + QStringLiteral("|")}));
        QCOMPARE(p.selectedName(), QStringLiteral("Zest Sour"));
        QCOMPARE(p.form().pnlDrinkName->text(), QStringLiteral("Zest Sour"));
        QCOMPARE(p.form().lblCurrentSet->text(), QStringLiteral("Current Set Contains %1 Drinks").arg(p.listedNames().size()));
        QStringList sorted = p.listedNames();
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(p.listedNames(), sorted);
    }

    // Enter: a new line in a text pane, Add in the new line's boxes, Done elsewhere.
    void enterInTheEditor()
    {
        StartedProgram p;
        edit(p, 5, [&](frmAddEdit &d) {
            d.show();
            d.cmbIngredient->setEditText(p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients LIMIT 1")).first());
            d.cmdAdd->setEnabled(true); // as typing the name does
            for (QWidget *box : std::initializer_list<QWidget *>{d.txtDirections, d.txtDirections, d.txtAmount, d.txtDrinkName}) {
                box->setFocus();
                QTest::keyClicks(box, QStringLiteral("2"));
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        QCOMPARE(p.rows(QStringLiteral("SELECT Description, (SELECT COUNT(*) FROM DrinkRel r WHERE r.DrinkID = d.ID) FROM Drinks d WHERE Name = '2'")),
                 QStringList{QStringLiteral("2\n2|1")});
    }

    void editKeepsIdentifierAndMarksAndReplacesLines()
    {
        StartedProgram p;
        const QString name = p.listedNames().at(3);
        p.exec(qPrintable(QStringLiteral("UPDATE Drinks SET Print = 1, Submitted = 1 WHERE Name = '%1'").arg(name)));
        const int id = drinkRow(p, name).section(QLatin1Char('|'), 0, 0).toInt();
        const QStringList before = linesOf(p, id);
        show(p, name);
        const auto script = editor([&](frmAddEdit &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Edit Drink"));
            QCOMPARE(d.lineCount(), before.size());
            d.lstIngredients->setCurrentRow(0);
            d.cmdDelete_Click();
            QCOMPARE(d.lstIngredients->currentRow(), 0); // the first remaining line is selected again
            d.txtDrinkName->setText(QStringLiteral("Aaa Renamed "));
            d.cmdDone_Click();
        });
        triggerCommand(p.form(), QStringLiteral("actEditDrink"));
        QCOMPARE(drinkRow(p, QStringLiteral("Aaa Renamed")).section(QLatin1Char('|'), 0, 0).toInt(), id);
        QCOMPARE(drinkRow(p, QStringLiteral("Aaa Renamed")).section(QLatin1Char('|'), 4), QStringLiteral("true|true"));
        QCOMPARE(linesOf(p, id), before.mid(1));
        QVERIFY(!p.listedNames().contains(name));
        QCOMPARE(p.listedNames().first(), QStringLiteral("Aaa Renamed"));
        QCOMPARE(p.selectedName(), QStringLiteral("Aaa Renamed"));
        // Its own name is not taken: an edit that keeps it is stored.
        edit(p, 10, [](frmAddEdit &d) { d.txtDirections->setPlainText(QStringLiteral("Kept.")); d.cmdDone_Click(); });
        QCOMPARE(drinkRow(p, QStringLiteral("Aaa Renamed")).section(QLatin1Char('|'), 2, 2), QStringLiteral("Kept."));
    }

    void widthButtonActsAtOncePointingWhereThePanelGoes()
    {
        StartedProgram p;
        edit(p, 5, [](frmAddEdit &d) {
            for (const bool wide : {true, false, true}) {
                QCOMPARE(d.isWide(), wide);
                QCOMPARE(d.cmdIngredients->text(), wide ? QStringLiteral("&Ingredients <<") : QStringLiteral("&Ingredients >>"));
                d.cmdIngredients->click();
            }
        });
    }

    void doneAsksAboutALineFilledInButNotAdded()
    {
        StartedProgram p;
        const QStringList two = p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients ORDER BY ID LIMIT 2"));
        for (const int answer : {int(msgbox::vbCancel), int(msgbox::vbNo), int(msgbox::vbYes)}) {
            const QString name = QStringLiteral("Pending %1").arg(answer);
            edit(p, 5, [&](frmAddEdit &d) {
                d.txtDrinkName->setText(name);
                addLine(d, {}, 0, two[0]);
                d.cmbIngredient->setEditText(two[1]);
                p.boxes().answerNext(answer);
                d.cmdDone_Click();
            });
            const int id = drinkRow(p, name).section(QLatin1Char('|'), 0, 0).toInt();
            QCOMPARE(linesOf(p, id).size(), answer == msgbox::vbYes ? 2 : answer == msgbox::vbNo ? 1 : 0);
        }
    }

    // A line naming no ingredient is refused with the way to add one; New... adds it there and then,
    // as Tools, Edit Ingredients does (one undo step of its own), and fills the box.
    void newIngredientFromTheEditor()
    {
        StartedProgram p;
        QStringList offered;
        const auto driveEditor = [&](frmAddEdit &d) {
            d.txtDrinkName->setText(QStringLiteral("Yuzu Smash"));
            addLine(d, QStringLiteral("2"), 10, QStringLiteral(" kumquat\u200b juice "));
            QCOMPARE(d.lineCount(), 0);
            d.cmdNewIngredient->click(); // cancelled: nothing stored, the typing stays
            QCOMPARE(d.cmbIngredient->currentText(), QStringLiteral(" kumquat\u200b juice "));
            d.cmdNewIngredient->click();
            QCOMPARE(d.cmbIngredient->currentText(), QStringLiteral("kumquat juice"));
            for (int i = 1; i < d.cmbIngredient->count(); ++i) // still in name order, for the next pick
                QVERIFY2(compareNames(d.cmbIngredient->itemText(i - 1), d.cmbIngredient->itemText(i)) < 0, qPrintable(d.cmbIngredient->itemText(i)));
            d.cmdAdd->click();
            QCOMPARE(d.lineCount(), 1);
            QStringList keys; // the access keys of the editor's captions, each once
            for (QWidget *w : d.findChildren<QWidget *>())
                if (const QString text = w->property("text").toString(); text.contains('&') && w->isVisibleTo(&d))
                    keys << text.section('&', 1).left(1).toLower();
            QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size());
            d.cmdDone_Click();
        };
        ModalScript script([&](QDialog &dialog) {
            if (auto *add = qobject_cast<frmIngredientAdd *>(&dialog)) {
                offered << add->windowTitle() + '|' + add->txtName->text();
                add->chkHave->setChecked(true);
                (offered.size() == 1 ? add->cmdCancel : add->cmdOK)->click();
                return add->result();
            }
            driveEditor(static_cast<frmAddEdit &>(dialog));
            if (dialog.result() != QDialog::Accepted)
                static_cast<frmAddEdit &>(dialog).cmdCancel_Click();
            return dialog.result();
        });
        triggerCommand(p.form(), QStringLiteral("actAddDrink"));
        QCOMPARE(p.boxes().texts(), QStringList{"The ingredient 'kumquat juice' doesn't exist.  If you would like to add the ingredient, "
                                                "go to Tools|Edit Ingredients."});
        QCOMPARE(offered, QStringList(2, QStringLiteral("Add Ingredient|kumquat juice")));
        const QString id = p.rows("SELECT ID FROM Ingredients WHERE Ingredient = 'kumquat juice' AND Common = 0 AND Has = 1").value(0);
        QCOMPARE(linesOf(p, drinkRow(p, "Yuzu Smash").section('|', 0, 0).toInt()), QStringList{id + "|2 Ounces"});
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(p.db().undoHistory().undoLabel(), QStringLiteral("Add Ingredient"));
        triggerCommand(p.form(), QStringLiteral("actUndo"));
        QVERIFY(p.rows("SELECT ID FROM Ingredients WHERE Ingredient = 'kumquat juice'").isEmpty());
    }

    // One Enter in the ingredient box with a bad amount says so once, Return or keypad Enter.
    // Done with an ingredient filled in but not added asks first: Yes adds it (unless the line is
    // refused), No leaves it out, Cancel goes back to the editor.
    void doneAsksAboutALineNotAdded_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("badAmount");
        QTest::addColumn<int>("saved"); // lines of the drink stored, -1 for none
        QTest::newRow("Yes") << int(msgbox::vbYes) << false << 2;
        QTest::newRow("Yes, the line refused") << int(msgbox::vbYes) << true << -1;
        QTest::newRow("No") << int(msgbox::vbNo) << false << 1;
        QTest::newRow("Cancel") << int(msgbox::vbCancel) << false << -1;
    }
    void doneAsksAboutALineNotAdded()
    {
        QFETCH(int, answer);
        QFETCH(bool, badAmount);
        QFETCH(int, saved);
        StartedProgram p;
        edit(p, 5, [&](frmAddEdit &d) {
            d.txtDrinkName->setText(QStringLiteral("Pending Sour"));
            addLine(d, {}, 0, d.cmbIngredient->itemText(0));
            d.cmbUnit->setCurrentIndex(badAmount ? 2 : 0);
            d.cmbIngredient->setEditText(d.cmbIngredient->itemText(1));
            p.boxes().answerNext(answer);
            d.cmdDone_Click();
        });
        QCOMPARE(p.boxes().texts().value(0).section(QStringLiteral("  "), 1), QStringLiteral("Add it first?"));
        QCOMPARE(p.boxes().texts().size(), badAmount ? 2 : 1);
        const QString id = drinkRow(p, QStringLiteral("Pending Sour")).section('|', 0, 0);
        QCOMPARE(id.isEmpty() ? -1 : int(linesOf(p, id.toInt()).size()), saved);
    }

    void enterWithABadAmountSaysItOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("amount");
        QTest::newRow("Return, no amount") << int(Qt::Key_Return) << QString();
        QTest::newRow("keypad Enter, no amount") << int(Qt::Key_Enter) << QString();
        QTest::newRow("Return, words") << int(Qt::Key_Return) << "two";
    }
    void enterWithABadAmountSaysItOnce()
    {
        QFETCH(int, key);
        QFETCH(QString, amount);
        StartedProgram p;
        edit(p, 5, [&](frmAddEdit &d) {
            d.show();
            d.txtAmount->setText(amount);
            d.cmbUnit->setCurrentIndex(10);
            d.cmbIngredient->setFocus();
            QTest::keyClicks(d.focusWidget(), d.cmbIngredient->itemText(0)); // typed, as a user does
            QTest::keyClick(d.focusWidget(), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QCOMPARE(d.lineCount(), 0);
        });
        QCOMPARE(p.boxes().texts(), QStringList{"Please enter just numbers in the amount field."});
    }

    // Deleting the first line selects the next one, and Delete stays enabled for it.
    void deleteStaysEnabledAfterTheFirstLine_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Delete button") << false;
        QTest::newRow("Del key") << true;
    }
    void deleteStaysEnabledAfterTheFirstLine()
    {
        QFETCH(bool, byKey);
        StartedProgram p;
        show(p, p.rows("SELECT Name FROM Drinks WHERE (SELECT count(*) FROM DrinkRel WHERE DrinkID = Drinks.ID) >= 3 LIMIT 1").value(0));
        edit(p, 10, [&](frmAddEdit &d) {
            d.show();
            const int lines = d.lineCount();
            d.lstIngredients->setCurrentRow(0);
            if (byKey)
                QTest::keyClick(d.lstIngredients, Qt::Key_Delete);
            else
                d.cmdDelete->click();
            QCOMPARE(d.lstIngredients->selectedItems().size(), 1);
            QVERIFY(d.cmdDelete->isEnabled());
            d.cmdDelete->click(); // and it deletes that one
            QCOMPARE(d.lineCount(), lines - 2);
        });
    }

    void editorRefusalsAndCancelWriteNothing()
    {
        StartedProgram p;
        const QString taken = p.listedNames().at(1), other = p.listedNames().at(2);
        const QString ingredient = p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients ORDER BY ID LIMIT 1")).first();
        const QStringList before = dump(p);
        struct Case {
            int menu;
            std::function<void(frmAddEdit &)> drive;
            QString message;
        };
        const QList<Case> cases{
            {5, [](frmAddEdit &d) { d.txtDrinkName->setText(QStringLiteral("X")); d.cmdDone_Click(); },
             QStringLiteral("Please enter at least one ingredient.")},
            {5, [&](frmAddEdit &d) { addLine(d, {}, 0, ingredient); d.cmdDone_Click(); },
             QStringLiteral("Please enter a name for the drink!")},
            {5, [&](frmAddEdit &d) { addLine(d, {}, 0, ingredient); d.txtDrinkName->setText(QStringLiteral(" \u200B\u00AD\x07 ")); d.cmdDone_Click(); },
             QStringLiteral("Please enter a name for the drink!")},
            {5, [&](frmAddEdit &d) { addLine(d, {}, 0, ingredient); d.txtDrinkName->setText(QStringLiteral("The \"Best\"")); d.cmdDone_Click(); },
             QStringLiteral("You cannot use the double-quote symbol (\") in a drink name.  Feel free to use a single-quote (') instead.")},
            {5, [&](frmAddEdit &d) { addLine(d, {}, 0, ingredient); d.txtDrinkName->setText(taken.toUpper()); d.cmdDone_Click(); },
             QStringLiteral("There is already a drink called '%1'.  Please choose another.").arg(taken.toUpper())},
            {10, [&](frmAddEdit &d) { d.txtDrinkName->setText(taken); d.cmdDone_Click(); },
             QStringLiteral("There is already a drink called '%1'.  Please choose another.").arg(taken)},
            {5, [](frmAddEdit &d) { QTest::keyClick(d.cmbIngredient, Qt::Key_Return); },
             QStringLiteral("The ingredient '' doesn't exist.  If you would like to add the ingredient, go to Tools|Edit Ingredients.")},
            {5, [&](frmAddEdit &d) { addLine(d, {}, 2, ingredient); QCOMPARE(d.lineCount(), 0); },
             QStringLiteral("Please enter just numbers in the amount field.")},
            {10, [](frmAddEdit &d) { d.txtDrinkName->setText(QStringLiteral("Changed")); }, QString()}, // cancelled
        };
        show(p, other);
        for (const Case &c : cases) {
            p.boxes().clear();
            edit(p, c.menu, c.drive);
            QCOMPARE(p.boxes().texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        }
        QCOMPARE(dump(p), before);
    }

    // Escape closes an unchanged editor at once, else asks first; Del removes the selected line.
    void escapeAsksBeforeDiscardingChanges_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<int>("answer");
        QTest::newRow("unchanged") << false << int(msgbox::vbNo);
        QTest::newRow("line deleted, No") << true << int(msgbox::vbNo);
        QTest::newRow("line deleted, Yes") << true << int(msgbox::vbYes);
    }
    void escapeAsksBeforeDiscardingChanges()
    {
        QFETCH(bool, change);
        QFETCH(int, answer);
        StartedProgram p;
        show(p, p.listedNames().at(2));
        bool open = false;
        edit(p, 10, [&](frmAddEdit &d) {
            d.show();
            const int lines = d.lineCount();
            d.lstIngredients->setCurrentRow(0);
            if (change)
                QTest::keyClick(d.lstIngredients, Qt::Key_Delete);
            QCOMPARE(d.lineCount(), lines - (change ? 1 : 0));
            p.boxes().answerNext(answer);
            QTest::keyClick(d.lstIngredients, Qt::Key_Escape);
            open = d.isVisible();
        });
        QCOMPARE(p.boxes().texts(), change ? QStringList{QStringLiteral("Discard the changes to this drink?")} : QStringList());
        QCOMPARE(open, change && answer == msgbox::vbNo);
    }

    void failedWritesLeaveTheFileAsItWas()
    {
        StartedProgram p;
        const QString name = p.listedNames().at(2);
        show(p, name);
        const QStringList before = dump(p);
        const QStringList listed = p.listedNames();
        p.exec("CREATE TEMP TRIGGER fail BEFORE INSERT ON main.DrinkRel BEGIN SELECT RAISE(ABORT, 'injected'); END;"
                "CREATE TEMP TRIGGER failDelete BEFORE DELETE ON main.DrinkRel BEGIN SELECT RAISE(ABORT, 'injected'); END;");
        QStringList cameBack; // a failed save brings the editor back with what was typed
        edit(p, 10, [](frmAddEdit &d) { d.txtDrinkName->setText(QStringLiteral("Renamed")); d.cmdDone_Click(); }, &cameBack);
        edit(p, 5, [&](frmAddEdit &d) {
            d.txtDrinkName->setText(QStringLiteral("New"));
            addLine(d, {}, 0, d.cmbIngredient->itemText(0));
            d.cmdDone_Click();
        }, &cameBack);
        QCOMPARE(cameBack, QStringList({"Renamed", "New"}));
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
        QCOMPARE(dump(p), before);
        QCOMPARE(p.listedNames(), listed);
        const QStringList texts = p.boxes().texts();
        QCOMPARE(texts.size(), 4); // the two editor saves, the question and the delete's failure
        QVERIFY2(texts[0].contains(QLatin1String("injected")) && texts[1].contains(QLatin1String("injected")), qPrintable(texts.join('\n')));
        QCOMPARE(texts[3], QStringLiteral("There was an error deleting the drink.\n\ninjected"));
        // Failing after the drink's old lines are gone and its row is renamed.
        p.exec("DROP TRIGGER temp.failDelete");
        show(p, name);
        edit(p, 10, [](frmAddEdit &d) { d.txtDrinkName->setText(QStringLiteral("Renamed")); d.cmdDone_Click(); });
        QCOMPARE(dump(p), before);
        QCOMPARE(p.listedNames(), listed);
        QVERIFY(p.db().DoesDrinkExist(name) && !p.db().DoesDrinkExist(QStringLiteral("Renamed")));
        QCOMPARE(p.boxes().texts().size(), 5);
        // Nothing of the failed additions is left to be found: the same drink goes in now.
        p.exec("DROP TRIGGER temp.fail");
        edit(p, 5, [](frmAddEdit &d) {
            d.txtDrinkName->setText(QStringLiteral("New"));
            addLine(d, {}, 0, d.cmbIngredient->itemText(0));
            d.cmdDone_Click();
        });
        QCOMPARE(p.boxes().texts().size(), 5);
        QCOMPARE(p.rows("SELECT count(*) FROM Drinks WHERE Name = 'New'"), QStringList{"1"});
    }

    void deleteSelectsTheNeighbourAndRelistsWhenEmpty()
    {
        StartedProgram p;
        const QStringList all = p.listedNames();
        const int id = drinkRow(p, all[1]).section(QLatin1Char('|'), 0, 0).toInt();
        p.form().selectDrinkAt(1);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink")); // answered No
        QCOMPARE(p.listedNames(), all);
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
        QCOMPARE(p.boxes().texts().last(), QStringLiteral("Are you sure you want to delete '%1'?").arg(all[1]));
        QCOMPARE(p.selectedName(), all[2]);
        QCOMPARE(p.form().pnlDrinkName->text(), all[2]);
        QVERIFY(drinkRow(p, all[1]).isEmpty() && linesOf(p, id).isEmpty());
        p.form().selectDrinkAt(p.listedNames().size() - 1);
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
        QCOMPARE(p.selectedName(), all[all.size() - 2]);

        p.db().Search(1, all[0], true);
        QCOMPARE(p.listedNames(), QStringList{all[0]});
        p.boxes().answerNext(msgbox::vbYes);
        triggerCommand(p.form(), QStringLiteral("actDeleteDrink"));
        QCOMPARE(p.boxes().texts().last(), QStringLiteral("There are no more drinks left in the current set.  All of the remaining drinks will now be loaded."));
        QCOMPARE(p.listedNames().size(), all.size() - 3);
    }

    void theShownDrinkFollowsIngredientChanges()
    {
        StartedProgram p;
        const QString name = p.listedNames().at(0);
        show(p, name);
        const QString first = p.form().lvIngredients->topLevelItem(0)->text(1);
        ModalScript script([&](QDialog &) {
            p.db().IngredientEdit(first, QStringLiteral("Renamed Ingredient"), false, false);
            return int(QDialog::Accepted);
        });
        triggerCommand(p.form(), QStringLiteral("actEditIngredients"));
        QCOMPARE(p.form().lvIngredients->topLevelItem(0)->text(1), QStringLiteral("Renamed Ingredient"));
    }

    void identifiersStartAtOneAndStopAtTheLargest()
    {
        StartedProgram p;
        const QString ingredient = p.rows(QStringLiteral("SELECT Ingredient FROM Ingredients ORDER BY ID LIMIT 1")).first();
        auto add = [&](const QString &name) {
            edit(p, 5, [&](frmAddEdit &d) { d.txtDrinkName->setText(name); addLine(d, {}, 0, ingredient); d.cmdDone_Click(); });
        };
        p.exec("DELETE FROM Drinks; DELETE FROM DrinkRel;");
        add(QStringLiteral("First"));
        QCOMPARE(drinkRow(p, QStringLiteral("First")).section(QLatin1Char('|'), 0, 0), QStringLiteral("1"));
        p.exec("UPDATE Drinks SET ID = 32766; UPDATE DrinkRel SET DrinkID = 32766;");
        add(QString(256, QLatin1Char('n'))); // the largest number, and the longest name kept whole
        QCOMPARE(drinkRow(p, QString(255, QLatin1Char('n'))).section(QLatin1Char('|'), 0, 0), QStringLiteral("32767"));
        const QStringList before = dump(p);
        p.boxes().clear();
        add(QStringLiteral("Second"));
        QCOMPARE(dump(p), before);
        QVERIFY2(p.boxes().texts().value(0).startsWith(QLatin1String("Error 6: Overflow")), qPrintable(p.boxes().texts().value(0)));
    }
};

QTEST_MAIN(TestDrinkWrites)
#include "test_drink_writes.moc"
