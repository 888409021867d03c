// The ingredient maintenance window and its add and combine dialogs on a started program, opened
// through the Tools menu and driven through their controls.

#include "edit/frmIngredientAdd.h"
#include "edit/frmIngredientMaintenence.h"
#include "edit/frmIngredientsCombine.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Opens the window with Tools, Edit Ingredients; `nested` drives the add and combine dialogs.
void maintain(StartedProgram &p, const std::function<void(frmIngredientMaintenence &)> &drive,
              const std::function<void(QDialog &)> &nested = {})
{
    ModalScript script([&](QDialog &dialog) {
        if (auto *m = qobject_cast<frmIngredientMaintenence *>(&dialog))
            drive(*m);
        else if (nested)
            nested(dialog);
        return dialog.result();
    });
    triggerCommand(p.form(), QStringLiteral("actEditIngredients"));
}

// Selects the named items as a click in the list does.
void select(frmIngredientMaintenence &m, const QStringList &names)
{
    m.lvIngredients->clearSelection();
    for (const QString &name : names)
        m.lvIngredients->findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
    m.lvIngredients_MouseUp(Qt::LeftButton, {});
}

QString row(const QTreeWidgetItem *item)
{
    return item->text(0) + '|' + item->text(1) + '|' + item->text(2);
}

QStringList table(StartedProgram &p)
{
    QStringList out;
    for (auto rs = p.db().database().OpenRecordset("SELECT Ingredient, Common, Has FROM Ingredients ORDER BY rowid");
         !rs->Eof(); rs->MoveNext())
        out << rs->value("Ingredient").toString() + '|' + (rs->value("Common").toBool() ? "\u2022" : "") + '|'
                + (rs->value("Has").toBool() ? "\u2022" : "");
    return out;
}

} // namespace

class TestIngredientDialogs : public QObject {
    Q_OBJECT
private slots:
    void listAndButtons_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("enabled"); // Edit, Delete, Combine, then menu items 10, 20, 30, 60
        QTest::addColumn<QString>("search");
        QTest::newRow("one") << QStringList{"Gin"} << "1101101" << "&Search for all drinks containing 'Gin'";
        QTest::newRow("two") << QStringList{"Gin", "Vodka"} << "0010010" << "&Search for ingredient";
    }
    void listAndButtons()
    {
        QFETCH(QStringList, selected);
        QFETCH(QString, enabled);
        QFETCH(QString, search);
        StartedProgram p;
        maintain(p, [&](frmIngredientMaintenence &m) {
            QStringList listed;
            for (int i = 0; i < m.lvIngredients->topLevelItemCount(); ++i)
                listed << row(m.lvIngredients->topLevelItem(i));
            QCOMPARE(listed, table(p));
            QCOMPARE(m.lvIngredients->selectedItems().value(0), m.lvIngredients->topLevelItem(0));
            QVERIFY(m.cmdAddEdit[0]->isEnabled() && !m.cmdAddEdit[1]->isEnabled() && !m.cmdDelete->isEnabled()
                    && !m.cmdCombine->isEnabled());
            select(m, selected);
            QString states;
            for (QObject *o : std::initializer_list<QObject *>{m.cmdAddEdit[1], m.cmdDelete, m.cmdCombine, m.mnuMenu[10],
                                                               m.mnuMenu[20], m.mnuMenu[30], m.mnuMenu[60]})
                states += o->property("enabled").toBool() ? '1' : '0';
            QCOMPARE(states, enabled);
            QCOMPARE(m.mnuMenu[60]->text(), search);
        });
    }

    // Add (no old name) and Edit: the stored name and marks, the refusals, the list item afterwards.
    void addEdit_data()
    {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: stored
        QTest::addColumn<QString>("shown");   // the edited item afterwards
        const QString taken = "An ingredient by that name already exists, please choose another name.";
        QTest::newRow("add, trimmed") << QString() << "  Yuzu Cordial " << QString() << QString();
        QTest::newRow("add a taken name") << QString() << "gin" << taken << QString();
        QTest::newRow("add with a quote") << QString() << "6\" Straw" << "You cannot use the double-quote symbol (\") in an "
                                          "ingredient name.  Feel free to use a single-quote (') instead." << QString();
        QTest::newRow("add with a comma") << QString() << "Lime, fresh" << "You cannot use a comma in an ingredient name: bar "
                                          "lists and ingredient searches separate names with commas." << QString();
        QTest::newRow("Have mark only") << "Gin" << "Gin" << QString() << "Gin|\u2022|\u2022";
        QTest::newRow("rename") << "Ouzo" << " Old Tom Gin" << QString() << "Old Tom Gin|\u2022|\u2022"; // no drink uses it
        QTest::newRow("rename to the longest") << "Sake" << QString(256, 'g') << QString() << QString(255, 'g') + "|\u2022|\u2022";
        QTest::newRow("another's name") << "Gin" << "Vodka" << taken << "Gin||";
    }
    void addEdit()
    {
        QFETCH(QString, oldName);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        StartedProgram p;
        const QStringList before = table(p);
        QString opened;
        maintain(
            p,
            [&](frmIngredientMaintenence &m) {
                if (oldName.isEmpty())
                    return m.cmdAddEdit[0]->click();
                select(m, {oldName});
                QTreeWidgetItem *item = m.lvIngredients->selectedItems().value(0);
                m.cmdAddEdit[1]->click();
                QCOMPARE(row(item), shown);
            },
            [&](QDialog &d) {
                auto &add = static_cast<frmIngredientAdd &>(d);
                opened = add.windowTitle() + '|' + add.txtName->selectedText();
                add.txtName->setText(typed);
                add.chkHave->setChecked(true);
                add.chkCommon->setChecked(true);
                add.cmdOK->click();
                if (add.result() != QDialog::Accepted)
                    add.cmdCancel->click();
            });
        QCOMPARE(opened, oldName.isEmpty() ? "Add Ingredient|" : "Edit Ingredient|" + oldName);
        QCOMPARE(p.boxes().texts(), message.isEmpty() ? QStringList() : QStringList{message});
        // Adding stores both boxes: the new ingredient is on the bar list.
        if (oldName.isEmpty())
            QCOMPARE(table(p), message.isEmpty() ? before + QStringList{"Yuzu Cordial|\u2022|\u2022"} : before);
    }

    // Renaming an ingredient asks nothing, however many drinks use it; one Undo takes it back.
    void renameAsksNothing()
    {
        StartedProgram p;
        p.exec("INSERT INTO Ingredients (ID, Ingredient) VALUES (900, 'Solo');"
               "INSERT INTO DrinkRel (DrinkID, IngID) VALUES (3, 900), (3, 900), (32000, 900)"); // one drink, and a stray line
        const QStringList before = table(p);
        for (const QString name : {"Gin", "Solo", "Amaro"}) { // many drinks, one, none
            QStringList after = table(p);
            after.replaceInStrings(QRegularExpression("^" + name + "\\|"), name + " 2|");
            maintain(p, [&](frmIngredientMaintenence &m) { select(m, {name}); m.cmdAddEdit[1]->click(); }, [&](QDialog &d) {
                static_cast<frmIngredientAdd &>(d).txtName->setText(name + " 2");
                static_cast<frmIngredientAdd &>(d).cmdOK->click();
                if (d.result() != QDialog::Accepted)
                    static_cast<frmIngredientAdd &>(d).cmdCancel->click();
            });
            QCOMPARE(p.boxes().texts(), QStringList());
            QCOMPARE(table(p), after);
            QCOMPARE(p.db().undoHistory().undoLabel(), QStringLiteral("Rename Ingredient"));
        }
        for (int i = 0; i < 3; ++i)
            triggerCommand(p.form(), QStringLiteral("actUndo"));
        QCOMPARE(table(p), before);
    }

    // Deleting a used ingredient explains; Yes lists its drinks in the main window and closes the dialog.
    void deleteUsed()
    {
        StartedProgram p;
        int result = -1;
        maintain(p, [&](frmIngredientMaintenence &m) {
            // A delete that fails keeps its item.
            p.exec("CREATE TEMP TRIGGER fail BEFORE DELETE ON main.Ingredients BEGIN SELECT RAISE(ABORT, 'injected'); END");
            select(m, {"Amaro"});
            m.cmdDelete->click();
            QCOMPARE(m.lvIngredients->findItems("Amaro", Qt::MatchExactly).size(), 1);
            // A use check that fails says so, not that a drink uses it.
            p.boxes().clear();
            p.exec("CREATE TEMP TABLE DrinkRel (Broken)");
            m.cmdDelete->click();
            p.exec("DROP TABLE temp.DrinkRel");
            QVERIFY2(p.boxes().texts().constLast().startsWith("Zestro could not check whether a drink uses Amaro, so it was not deleted.\n"),
                     qPrintable(p.boxes().texts().join('|')));
            QCOMPARE(m.lvIngredients->findItems("Amaro", Qt::MatchExactly).size(), 1);
            p.boxes().clear();
            p.boxes().answerNext(msgbox::vbYes);
            select(m, {"Gin"});
            m.mnuMenu[20]->trigger();
            result = m.result();
        });
        QVERIFY(p.db().DoesIngredientExist("Gin"));
        QCOMPARE(p.boxes().messages().size(), 1);
        QCOMPARE(p.boxes().messages()[0].text.count("Gin"), 4);
        QCOMPARE(p.boxes().messages()[0].flags, msgbox::vbExclamation | msgbox::vbYesNo);
        QCOMPARE(result, int(QDialog::Accepted));
        const QString gin = QString::number(p.db().GetIngID("Gin"));
        QCOMPARE(p.listedNames().size(), p.db().database().scalar("SELECT count(DISTINCT DrinkID) FROM DrinkRel WHERE IngID = " + gin));
    }

    void combine_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("question");
        QTest::newRow("three") << QStringList{"Gin", "Sloe gin", "Vodka"}
                               << "The ingredients:   Sloe gin\n  Vodka\n\nwill be replaced with Gin then deleted.  OK?";
        QTest::newRow("two") << QStringList{"Gin", "Sloe gin"} << "The ingredient:   Sloe gin\n\nwill be replaced with Gin then deleted.  OK?";
    }
    void combine()
    {
        QFETCH(QStringList, selected);
        QFETCH(QString, question);
        StartedProgram p;
        p.boxes().answerNext(msgbox::vbOK);
        p.boxes().answerNext(msgbox::vbYes);
        maintain(
            p,
            [&](frmIngredientMaintenence &m) {
                select(m, selected);
                m.cmdCombine->click();
                QCOMPARE(m.lvIngredients->topLevelItemCount(), table(p).size());
            },
            [&](QDialog &d) {
                auto &combine = static_cast<frmIngredientsCombine &>(d);
                combine.cmdDoIt->click(); // nothing chosen yet
                combine.lstDestination->item(0)->setSelected(true);
                combine.cmdDoIt->click();
            });
        QCOMPARE(p.boxes().texts(), (QStringList{"Please select a destination ingredient.", question}));
        QVERIFY(p.db().DoesIngredientExist("Gin") && !p.db().DoesIngredientExist("Sloe gin"));
    }
};

QTEST_MAIN(TestIngredientDialogs)
#include "test_ingredient_dialogs.moc"
