// The ingredient maintenance window and its add and combine dialogs on a started program, opened
// through the Tools menu and driven through their controls: the list and its marks, the buttons and
// the pop-up menu for one and two selected items, adding, renaming, deleting, combining, and the
// search for the drinks that use an ingredient.

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

using Drive = std::function<void(frmIngredientMaintenence &)>;
using Nested = std::function<void(QDialog &)>;

// Opens the window with Tools, Edit Ingredients; `nested` drives the add and combine dialogs.
void maintain(StartedProgram &p, const Drive &drive, const Nested &nested = {})
{
    ModalScript script([&](QDialog &dialog) {
        if (auto *m = qobject_cast<frmIngredientMaintenence *>(&dialog))
            drive(*m);
        else if (nested)
            nested(dialog);
        return dialog.result();
    });
    p.form().mnuTools_Click(30);
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

QStringList table(StartedProgram &p, const QString &where = {})
{
    QStringList out;
    for (auto rs = p.db().database().OpenRecordset("SELECT Ingredient, Common, Has FROM Ingredients " + where + " ORDER BY rowid");
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
        QTest::newRow("one") << QStringList{"Gin"} << "1101101" << "Search for all drinks containing 'Gin'";
        QTest::newRow("two") << QStringList{"Gin", "Vodka"} << "0010010" << "Search for ingredient";
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

    void add_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: stored
        QTest::newRow("new, trimmed") << "  Yuzu Cordial " << QString();
        QTest::newRow("taken") << "gin" << "An ingredient by that name already exists, please choose another name.";
        QTest::newRow("quote") << "6\" Straw"
                               << "You cannot use the double-quote symbol (\") in an ingredient name.  Feel free to use a "
                                  "single-quote (') instead.";
        QTest::newRow("comma") << "Lime, fresh"
                               << "You cannot use a comma in an ingredient name: bar lists and ingredient searches separate "
                                  "names with commas.";
        QTest::newRow("blank") << " " << "Please enter a name for the ingredient.";
    }
    void add()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        StartedProgram p;
        const QStringList before = table(p);
        bool stayed = false;
        maintain(
            p, [](frmIngredientMaintenence &m) { m.cmdAddEdit[0]->click(); },
            [&](QDialog &d) {
                auto &add = static_cast<frmIngredientAdd &>(d);
                add.txtName->setText(typed);
                add.chkHave->setChecked(true);
                add.chkCommon->setChecked(true);
                add.cmdOK->click();
                stayed = add.result() != QDialog::Accepted;
            });
        QCOMPARE(p.boxes().texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stayed, !message.isEmpty());
        // Stored trimmed, Common as checked, Have not: a new ingredient starts off the bar list.
        QCOMPARE(table(p), message.isEmpty() ? before + QStringList{"Yuzu Cordial|\u2022|"} : before);
    }

    void edit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("have");
        QTest::addColumn<QString>("shown"); // the item afterwards; empty: refused
        QTest::newRow("Have mark only") << "Gin" << true << "Gin||\u2022";
        QTest::newRow("renamed") << " Old Tom Gin" << false << "Old Tom Gin||";
        QTest::newRow("letter case") << "GIN" << false << "GIN||";
        QTest::newRow("another's name") << "Vodka" << false << QString();
    }
    void edit()
    {
        QFETCH(QString, typed);
        QFETCH(bool, have);
        QFETCH(QString, shown);
        StartedProgram p;
        QTreeWidgetItem *item = nullptr;
        QString title;
        maintain(
            p,
            [&](frmIngredientMaintenence &m) {
                select(m, {"Gin"});
                item = m.lvIngredients->selectedItems().value(0);
                m.cmdAddEdit[1]->click();
                QCOMPARE(row(item), shown.isEmpty() ? QStringLiteral("Gin||") : shown);
            },
            [&](QDialog &d) {
                auto &add = static_cast<frmIngredientAdd &>(d);
                title = add.windowTitle() + add.txtName->selectedText();
                add.txtName->setText(typed);
                add.chkHave->setChecked(have);
                add.cmdOK->click();
                if (add.result() != QDialog::Accepted)
                    add.cmdCancel->click();
            });
        QCOMPARE(title, QStringLiteral("Edit IngredientGin"));
        QCOMPARE(p.boxes().messages().size(), shown.isEmpty() ? 1 : 0);
    }

    void deleteUsedOffersTheDrinks()
    {
        StartedProgram p;
        p.boxes().answerNext(msgbox::vbYes);
        bool closed = false;
        maintain(p, [&](frmIngredientMaintenence &m) {
            select(m, {"Gin"});
            m.mnuMenu[20]->trigger();
            closed = m.result() == QDialog::Accepted && !m.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(p.boxes().messages().size(), 1);
        QCOMPARE(p.boxes().messages()[0].text.count("Gin"), 4);
        QCOMPARE(p.boxes().messages()[0].flags, msgbox::vbExclamation | msgbox::vbYesNo);
        QVERIFY(p.db().DoesIngredientExist("Gin"));
        QCOMPARE(int(p.listedNames().size()), int(p.db().database().scalar("SELECT count(DISTINCT DrinkID) FROM DrinkRel WHERE IngID = "
                                                                  + QString::number(p.db().GetIngID("Gin")))));
    }

    void deleteUnused()
    {
        StartedProgram p;
        maintain(p, [&](frmIngredientMaintenence &m) {
            select(m, {"Amaro"});
            m.cmdDelete->click();
            QVERIFY(m.lvIngredients->findItems("Amaro", Qt::MatchExactly).isEmpty());
        });
        QVERIFY(p.boxes().messages().isEmpty());
        QVERIFY(!p.db().DoesIngredientExist("Amaro"));
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
        int listed = 0;
        maintain(
            p,
            [&](frmIngredientMaintenence &m) {
                select(m, selected);
                m.cmdCombine->click();
                listed = m.lvIngredients->topLevelItemCount();
            },
            [&](QDialog &d) {
                auto &combine = static_cast<frmIngredientsCombine &>(d);
                combine.cmdDoIt->click(); // nothing chosen yet
                combine.lstDestination->item(0)->setSelected(true);
                combine.cmdDoIt->click();
            });
        QCOMPARE(p.boxes().texts(), (QStringList{"Please select a destination ingredient.", question}));
        QCOMPARE(listed, table(p).size());
        for (const QString &name : selected)
            QCOMPARE(p.db().DoesIngredientExist(name), name == "Gin");
    }
};

QTEST_MAIN(TestIngredientDialogs)
#include "test_ingredient_dialogs.moc"
